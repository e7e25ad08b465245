// An installed simhost-run serves every file its page loads, from its own
// tree: run by scripts/test-install.sh with the build folder moved away.
//   node page_installed.mjs SIMHOST_RUN SCENARIO OUT
import { spawn } from 'node:child_process';
import { existsSync } from 'node:fs';
import { join } from 'node:path';

const [simhostRun, scenario, out] = process.argv.slice(2);
const child = spawn(simhostRun, [scenario, '--serve', '-o', out], { stdio: ['ignore', 'pipe', 'inherit'] });
const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve(code ?? signal)));
const url = await new Promise((resolve, reject) => {
  let text = '';
  child.stdout.on('data', (d) => { text += d; const m = /Open (\S+)/.exec(text); if (m) resolve(new URL(m[1])); });
  child.on('exit', () => reject(new Error(`simhost-run --serve ended before it listened: ${text}`)));
});
const failures = [];
for (const file of ['/', '/live.js', '/keys.js', '/three.module.js', '/three.core.js', '/OrbitControls.js', '/live.css']) {
  const response = await fetch(new URL(file + url.search, url));
  if (response.status !== 200 || (await response.text()).length === 0) failures.push(`${file}: ${response.status}`);
}
if ((await fetch(new URL('/', url))).status !== 403) failures.push('/ without the token was not refused');
child.kill('SIGTERM');
const status = await exited;
if (status !== 130) failures.push(`SIGTERM ended it with ${status}, not 130`);
if (!existsSync(join(out, 'final.scn')) || !existsSync(join(out, 'session.timeline'))) failures.push('no final.scn and session.timeline');
if (failures.length) {
  console.error(`FAIL: ${failures.join('; ')}`);
  process.exit(1);
}
console.log('the installed page is served');
