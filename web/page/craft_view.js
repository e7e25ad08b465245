// One craft drawn as the host describes it: its meshes as the host read
// them, each group placed where the host's animation poses put it, exhausts
// scaled by their thrusters' levels, beacons lit and blinking as the host
// says. Everything is in the craft's own frame; the scene's root turns the
// host's left-handed frame into three.js's right-handed one.
import * as THREE from 'three';

const hull = new THREE.MeshStandardMaterial({ color: 0xb8c0cc, metalness: 0.3, roughness: 0.6, side: THREE.DoubleSide, flatShading: true });
const flame = new THREE.MeshBasicMaterial({ color: 0xffa040, transparent: true, opacity: 0.8 });

function groupGeometry(vertices, triangles) {
  const positions = new Float32Array(triangles.length * 3);
  triangles.forEach((v, i) => positions.set(vertices.slice(v * 3, v * 3 + 3), i * 3));
  const geometry = new THREE.BufferGeometry();
  geometry.setAttribute('position', new THREE.BufferAttribute(positions, 3));
  geometry.computeVertexNormals();
  return geometry;
}

// Row-major 3x4 [rot | offset] as the host sends a pose.
function setPose(matrix, p) {
  matrix.set(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9], p[10], p[11], 0, 0, 0, 1);
}

export class CraftView {
  constructor(craft) {
    this.name = craft.name;
    this.root = new THREE.Group();
    this.root.name = craft.name;
    this.groups = craft.meshes.map((mesh) => {
      const holder = new THREE.Group();
      holder.position.fromArray(mesh.offset);
      this.root.add(holder);
      return mesh.groups.map((g) => {
        const m = new THREE.Mesh(groupGeometry(mesh.vertices, g.triangles), hull);
        m.matrixAutoUpdate = false;
        holder.add(m);
        return m;
      });
    });
    this.exhausts = craft.exhausts.map((x) => {
      // A cone along +y, its base at the nozzle and its tip a length away, turned along the exhaust's direction.
      const geometry = new THREE.ConeGeometry(0.5, 1, 12, 1, true).translate(0, 0.5, 0);
      const cone = new THREE.Mesh(geometry, flame);
      cone.position.fromArray(x.pos);
      cone.quaternion.setFromUnitVectors(new THREE.Vector3(0, 1, 0), new THREE.Vector3().fromArray(x.dir).normalize());
      cone.userData = x;
      cone.visible = false;
      this.root.add(cone);
      return cone;
    });
    this.beacons = [];
  }

  update(state, simTime) {
    this.root.position.fromArray(state.pos);
    // The host's quaternion turns the craft's frame into the world's.
    this.root.quaternion.set(state.q[1], state.q[2], state.q[3], state.q[0]);
    state.poses.forEach((groups, mi) => groups.forEach((p, gi) => {
      const mesh = this.groups[mi]?.[gi];
      if (mesh) setPose(mesh.matrix, p);
    }));
    this.exhausts.forEach((cone) => {
      const level = state.levels[cone.userData.thruster] ?? 0;
      cone.visible = level > 0;
      cone.scale.set(cone.userData.width * 2, cone.userData.length * level, cone.userData.width * 2);
    });
    while (this.beacons.length < state.beacons.length) {
      const b = new THREE.Mesh(new THREE.SphereGeometry(1, 10, 8), new THREE.MeshBasicMaterial());
      this.root.add(b);
      this.beacons.push(b);
    }
    this.beacons.forEach((mesh, i) => {
      const b = state.beacons[i];
      if (!b) { mesh.visible = false; return; }
      mesh.position.fromArray(b.pos);
      mesh.scale.setScalar(Math.max(b.size, 0.05));
      mesh.material.color.setRGB(b.col[0], b.col[1], b.col[2]);
      const phase = b.period > 0 ? (((simTime + b.tofs) % b.period) + b.period) % b.period : 0;
      mesh.visible = b.lit && (b.period <= 0 || phase < b.duration);
    });
  }
}
