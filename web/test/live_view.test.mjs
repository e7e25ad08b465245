// The live view in a real browser: Debian's Chromium, headless with
// software WebGL, driven by playwright-core. One browser for every check.
// SIMHOST_RUN names the simhost-run to test, SCENARIOS the scenarios folder.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import http from 'node:http';
import { chromium } from 'playwright-core';

const simhostRun = process.env.SIMHOST_RUN;
const scenarios = process.env.SCENARIOS;
const screenshot = process.env.LIVE_VIEW_SCREENSHOT;
let browser;
const work = mkdtempSync(join(tmpdir(), 'live-view-'));

before(async () => {
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
  });
});
after(async () => { await browser?.close(); rmSync(work, { recursive: true, force: true }); });

// Starts a live session and resolves with its address once it listens.
function serve(scenario, out) {
  const child = spawn(simhostRun, [join(scenarios, scenario), '--serve', '-o', out], { stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  const exited = new Promise((resolve) => child.on('exit', (code) => resolve(code)));
  const url = new Promise((resolve, reject) => {
    child.stdout.on('data', (d) => {
      output += d;
      const m = /Open (http:\/\/127\.0\.0\.1:(\d+)\/\?token=(\w+))/.exec(output);
      if (m) resolve({ url: m[1], port: Number(m[2]), token: m[3] });
    });
    child.stderr.on('data', (d) => { output += d; });
    child.on('exit', () => reject(new Error(`simhost-run ended before it listened: ${output}`)));
  });
  return { child, url, exited, output: () => output };
}

async function openPage(url) {
  const page = await browser.newPage({ viewport: { width: 1000, height: 700 } });
  await page.goto(url);
  await page.waitForFunction(() => window.liveView?.state && window.liveView.frames > 2);
  return page;
}

// Pixels around where the craft is that are not the background.
async function litPixelsAt(page, craft) {
  return page.evaluate((name) => {
    const live = window.liveView;
    const canvas = document.getElementById('view');
    const p = live.screenPoint(name);
    const copy = document.createElement('canvas');
    copy.width = canvas.width; copy.height = canvas.height;
    const ctx = copy.getContext('2d');
    ctx.drawImage(canvas, 0, 0);
    const scale = canvas.width / canvas.clientWidth;
    const data = ctx.getImageData(Math.max(0, p.x * scale - 60), Math.max(0, p.y * scale - 60), 120, 120).data;
    let lit = 0;
    for (let i = 0; i < data.length; i += 4) if (Math.abs(data[i] - 0x0b) + Math.abs(data[i + 1] - 0x10) + Math.abs(data[i + 2] - 0x20) > 30) lit += 1;
    return lit;
  }, craft);
}

const state = (page) => page.evaluate(() => window.liveView.state);

// Runs the replay command the session's timeline names; returns the timeline.
function replaysToTheSameBytes(out) {
  const timeline = readFileSync(join(out, 'session.timeline'), 'utf8');
  const replay = /# Replay: simhost-run (.*)/.exec(timeline)[1].split(' ');
  execFileSync(simhostRun, [...replay, '-q', '--no-pictures']);
  assert.deepEqual(readFileSync(join(out, 'replay', 'final.scn')), readFileSync(join(out, 'final.scn')));
  return timeline;
}

function request(port, path, headers) {
  return new Promise((resolve, reject) => {
    const req = http.request({ host: '127.0.0.1', port, path, headers });
    req.on('response', (res) => { res.resume(); resolve(res.statusCode); });
    req.on('upgrade', (res, socket) => { socket.destroy(); resolve(res.statusCode); });
    req.on('error', reject);
    req.end();
  });
}

test('stowed craft: drawn, K unfolds the arrays as the host says, the session replays to the same bytes', async () => {
  const out = join(work, 'stowed');
  const session = serve('stowed.scn', out);
  const { url } = await session.url;
  const page = await openPage(url);
  assert.ok(await litPixelsAt(page, 'Mervex-1') > 200, 'the craft is drawn where it is');

  await page.locator('#view').focus();
  await page.keyboard.press('KeyK');
  await page.waitForFunction(() => window.liveView.state.craft[0].animations[0] < 0.9);
  assert.match(await page.locator('#key-result').textContent(), /key K to Mervex-1 \(consumed\)/);

  // Paused, the page shows the state the host saves.
  await page.getByRole('button', { name: 'Pause' }).click();
  await page.waitForFunction(() => window.liveView.state.paused);
  await page.getByRole('button', { name: 'Save' }).click();
  await page.waitForFunction(() => window.liveView.state.notes.some((n) => n.includes('live-1.scn')));
  const shown = (await state(page)).craft[0].animations[0];
  const saved = Number(/ARRAYS (\S+)/.exec(readFileSync(join(out, 'live-1.scn'), 'utf8'))[1]);
  assert.equal(shown, saved);
  const readout = await page.locator('dd[data-field="animations"]').textContent();
  assert.equal(readout, saved.toFixed(3));

  // A thruster group set from the page fires.
  await page.getByRole('button', { name: 'Run' }).click();
  await page.locator('#group').selectOption('main');
  await page.getByRole('button', { name: 'Set thrust' }).click();
  await page.waitForFunction(() => window.liveView.state.craft[0].levels.some((l) => l > 0) &&
                                   window.liveView.state.craft[0].propellant < 500);
  if (screenshot) await page.screenshot({ path: screenshot });

  await page.getByRole('button', { name: 'Quit' }).click();
  assert.equal(await session.exited, 0, session.output());
  replaysToTheSameBytes(out);
  await page.close();
});

test('Mervex and Tank: the dialog opens, DEPLOY acts and the close box closes it, Shift+L lights, a Tank is flown from the page, strangers are refused', async () => {
  const out = join(work, 'pair');
  const session = serve('mervex_and_tank.scn', out);
  const { url, port, token } = await session.url;

  assert.equal(await request(port, '/', {}), 403, 'no token');
  assert.equal(await request(port, `/live.js?token=${token}`, { Host: `evil.example:${port}` }), 403, 'another host name');
  const upgrade = { Connection: 'Upgrade', Upgrade: 'websocket', 'Sec-WebSocket-Version': '13', 'Sec-WebSocket-Key': 'dGhlIHNhbXBsZSBub25jZQ==' };
  assert.equal(await request(port, `/live?token=${token}`, { ...upgrade, Origin: 'http://evil.example' }), 403, 'another origin');
  assert.equal(await request(port, `/live?token=${token}`, { ...upgrade, Origin: `http://127.0.0.1:${port}` }), 101);

  const page = await openPage(url);
  assert.ok(await litPixelsAt(page, 'Tank-1') > 100, 'the Tank is drawn');
  await page.locator('#view').focus();
  await page.keyboard.press('Control+Space');
  const deploy = page.getByRole('dialog', { name: 'Mervex Controls' }).getByRole('button', { name: 'DEPLOY' });
  await deploy.click();
  await page.waitForFunction(() => window.liveView.state.craft[0].animations[0] < 1);
  // Shift+L lights the beacons the host draws; the close box closes the dialog.
  await page.locator('#view').focus();
  await page.keyboard.press('Shift+KeyL');
  await page.waitForFunction(() => window.liveView.state.craft[0].beacons.some((b) => b.lit));
  await page.getByRole('dialog', { name: 'Mervex Controls' }).getByRole('button', { name: 'Close' }).click();
  await page.getByRole('dialog').waitFor({ state: 'detached' });

  await page.locator('#craft').selectOption('Tank-1');
  await page.locator('#group').selectOption('main');
  await page.getByRole('button', { name: 'Set thrust' }).click();
  await page.waitForFunction(() => window.liveView.state.craft[1].propellant < 300);

  // A malformed message is answered and changes nothing.
  const answer = await page.evaluate(() => new Promise((resolve) => {
    const ws = new WebSocket(`ws://${location.host}/live${location.search}`);
    ws.onopen = () => ws.send('{"type":"thrust","craft":"Tank-1","group":"main","level":7}');
    ws.onmessage = (e) => { const m = JSON.parse(e.data); if (m.type === 'error') { ws.close(); resolve(m.error); } };
  }));
  assert.match(answer, /level must be a number from 0 to 1/);

  await page.getByRole('button', { name: 'Quit' }).click();
  assert.equal(await session.exited, 0, session.output());
  // Choosing the Tank moved the host's focus, and the replay moves it alike.
  assert.match(replaysToTheSameBytes(out), /\n\S+ focus Tank-1\n/);
  await page.close();
});

test('deployed Mervex: a disabled control does nothing, a reloaded page picks the session up', async () => {
  const out = join(work, 'deployed');
  const session = serve('deployed_lights_dialog.scn', out);
  const { url } = await session.url;
  const page = await openPage(url);
  // Deployed arrays: the module disables DEPLOY.
  await page.waitForFunction(() => document.querySelector('.dialog button[aria-label="DEPLOY"]')?.disabled);
  await page.getByRole('dialog', { name: 'Mervex Controls' }).getByRole('button', { name: 'DEPLOY' }).click({ force: true });
  // Messages arrive in order: once the pause is in, a click would have been recorded.
  await page.getByRole('button', { name: 'Pause' }).click();
  await page.waitForFunction(() => window.liveView.state.paused);
  const timeline = () => readFileSync(join(out, 'session.timeline'), 'utf8');
  assert.doesNotMatch(timeline(), /^[^#]/m, 'nothing recorded');

  const before = (await state(page)).sim_time;
  await page.reload();
  await page.waitForFunction(() => window.liveView?.state && window.liveView.frames > 2);
  const after = await state(page);
  assert.ok(after.paused && after.sim_time === before, 'the same session, paused where it was');
  await page.getByRole('dialog', { name: 'Mervex Controls' }).waitFor();

  await page.getByRole('button', { name: 'Quit' }).click();
  assert.equal(await session.exited, 0, session.output());
  assert.doesNotMatch(timeline(), /^[^#]/m, 'nothing recorded');
  await page.close();
});
