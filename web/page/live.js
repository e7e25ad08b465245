// The live view: draws what the host sends, and sends the host what the
// user does. It holds no logic of any module: every craft, pose, light and
// dialog comes from the host.
import * as THREE from 'three';
import { OrbitControls } from 'three/addons/controls/OrbitControls.js';
import { Connection } from './connection.js';
import { CraftView } from './craft_view.js';
import { showDialogs } from './dialogs.js';
import { KeyTracker } from './keys.js';
import { showNotes, showReadout } from './panel.js';

const $ = (id) => document.getElementById(id);
const canvas = $('view');
// The drawing buffer is kept so that tests can read the pixels back.
const renderer = new THREE.WebGLRenderer({ canvas, antialias: true, preserveDrawingBuffer: true });
renderer.setPixelRatio(window.devicePixelRatio);
const scene = new THREE.Scene();
scene.background = new THREE.Color(0x0b1020);
scene.add(new THREE.AmbientLight(0xffffff, 0.6));
const sun = new THREE.DirectionalLight(0xffffff, 2.2);
sun.position.set(30, 50, 20);
scene.add(sun);
// The host's frame is left-handed (+z forward, +y up, +x right).
const world = new THREE.Group();
world.scale.set(1, 1, -1);
scene.add(world);
const camera = new THREE.PerspectiveCamera(50, 1, 0.1, 1e6);
camera.position.set(12, 9, 18);
const controls = new OrbitControls(camera, canvas);

const live = { scene: null, state: null, craft: new Map(), chosen: null, lastFollowed: null, frames: 0, frameMs: [], answers: [] };
window.liveView = live;  // for the browser tests
const keys = new KeyTracker();
const connection = new Connection(receive, (status) => { $('message').textContent = status === 'connected' ? '' : status; });
const send = (m) => connection.send(m);

function receive(m) {
  if (m.type === 'scene') buildScene(m);
  else if (m.type === 'state') showState(m);
  else {
    live.answers.push(m);
    if (m.type === 'error') $('message').textContent = m.error;
  }
}

function buildScene(m) {
  for (const view of live.craft.values()) world.remove(view.root);
  live.craft.clear();
  live.scene = m;
  const select = $('craft');
  select.replaceChildren();
  for (const c of m.craft) {
    const view = new CraftView(c);
    live.craft.set(c.name, view);
    world.add(view.root);
    select.append(new Option(`${c.name} (${c.class})`, c.name));
  }
  choose(live.chosen && live.craft.has(live.chosen) ? live.chosen : m.craft[0]?.name);
}

function choose(name) {
  live.chosen = name;
  $('craft').value = name;
  const craft = live.scene.craft.find((c) => c.name === name);
  $('group').replaceChildren(...(craft?.groups ?? []).map((g) => new Option(g, g)));
  live.lastFollowed = null;
  if (name) send({ type: 'focus', craft: name });
}

function showState(s) {
  live.state = s;
  for (const c of s.craft) live.craft.get(c.name)?.update(c, s.sim_time);
  showReadout($('readout'), s, live.chosen);
  showNotes($('notes'), s.notes);
  if (s.dialogs) showDialogs($('dialogs'), s.dialogs, send);
  const last = s.notes.filter((n) => n.includes(': key ')).at(-1);
  $('key-result').textContent = last ?? '';
  if (s.stopped) $('message').textContent = `The run stopped: ${s.stopped}`;
  if (s.ended) connection.ended = true;
  $('replay').textContent = `Replay: ${s.replay}`;
  for (const b of document.querySelectorAll('[data-warp]')) b.setAttribute('aria-pressed', String(Number(b.dataset.warp) === s.warp));
}

// The camera keeps its place relative to the chosen craft as it moves.
function follow() {
  const view = live.craft.get(live.chosen);
  if (!view) return;
  const at = view.root.getWorldPosition(new THREE.Vector3());
  if (live.lastFollowed) camera.position.add(at.clone().sub(live.lastFollowed));
  else camera.position.copy(at).add(new THREE.Vector3(12, 9, 18));
  live.lastFollowed = at;
  controls.target.copy(at);
}

function labels() {
  const box = $('labels');
  const w = canvas.clientWidth, h = canvas.clientHeight;
  box.replaceChildren(...[...live.craft.values()].map((view) => {
    const p = view.root.getWorldPosition(new THREE.Vector3()).project(camera);
    const span = document.createElement('span');
    span.textContent = view.name;
    span.style.left = `${(p.x + 1) / 2 * w}px`;
    span.style.top = `${(1 - p.y) / 2 * h}px`;
    span.hidden = p.z > 1;
    return span;
  }));
}

// Where a craft's origin lies on the canvas, in CSS pixels (for the tests).
live.screenPoint = (name) => {
  const view = live.craft.get(name);
  const p = view.root.getWorldPosition(new THREE.Vector3()).project(camera);
  return { x: (p.x + 1) / 2 * canvas.clientWidth, y: (1 - p.y) / 2 * canvas.clientHeight };
};

function frame() {
  const began = performance.now();
  const w = canvas.clientWidth, h = canvas.clientHeight;
  if (canvas.width !== Math.floor(w * renderer.getPixelRatio()) || canvas.height !== Math.floor(h * renderer.getPixelRatio())) {
    renderer.setSize(w, h, false);
    camera.aspect = w / h;
    camera.updateProjectionMatrix();
  }
  follow();
  controls.update();
  renderer.render(scene, camera);
  labels();
  live.frames += 1;
  live.frameMs.push(performance.now() - began);
  if (live.frameMs.length > 600) live.frameMs.shift();
  requestAnimationFrame(frame);
}
requestAnimationFrame(frame);

canvas.addEventListener('keydown', (event) => {
  const message = keys.down(event, live.chosen);
  event.preventDefault();
  if (message && !event.repeat) send(message);
});
canvas.addEventListener('keyup', (event) => keys.up(event));
canvas.addEventListener('blur', () => keys.clear());
canvas.addEventListener('pointerdown', () => canvas.focus());
$('craft').addEventListener('change', (event) => choose(event.target.value));
for (const id of ['pause', 'run', 'step', 'save', 'quit']) $(id).addEventListener('click', () => send({ type: id }));
for (const b of document.querySelectorAll('[data-warp]')) b.addEventListener('click', () => send({ type: 'warp', factor: Number(b.dataset.warp) }));
$('thrust').addEventListener('click', () => send({ type: 'thrust', craft: live.chosen, group: $('group').value, level: Number($('level').value) }));
