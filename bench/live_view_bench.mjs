// The live view's pace in headless Chromium with software WebGL: the first
// frame after the page opens, a key press to the frame that shows its
// effect, simulated against wall time at warp 1, frame time with 1, 10
// and 100 craft, and the host's step in --serve against a batch run of the
// same fleet. Not part of the test command.
//   node bench/live_view_bench.mjs BUILD_DIR [DRIFT_SECONDS]
import { execFileSync, spawn } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const build = resolve(process.argv[2] ?? 'build/default');
const driftSeconds = Number(process.argv[3] ?? 60);
const { chromium } = await import(pathToFileURL(join(build, 'web/node_modules/playwright-core/index.mjs')));
const work = mkdtempSync(join(tmpdir(), 'live-bench-'));

// n Mervex craft on a line, arrays stowed.
function fleet(n) {
  let text = 'BEGIN_SCENARIO\n  TIME 0\nEND_SCENARIO\n';
  for (let i = 0; i < n; i++) {
    text += `\nBEGIN_VESSEL M-${i + 1}:Mervex\n  POS ${(i % 10) * 12} 0 ${Math.floor(i / 10) * 12}\n  VEL 0 0 0\n` +
            '  ATT 1 0 0 0\n  AROT 0 0 0\n  PROPELLANT 0 500\n  ARRAYS 1\n  PAYLOAD_MASS 0.0000\nEND_VESSEL\n';
  }
  const file = join(work, `fleet${n}.scn`);
  writeFileSync(file, text);
  return file;
}

function serve(scenario) {
  const child = spawn(join(build, 'bin/simhost-run'), [scenario, '--serve', '-o', join(work, 'out')], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((ok) => {
    let out = '';
    child.stdout.on('data', (d) => { out += d; const m = /Open (\S+)/.exec(out); if (m) ok({ child, url: m[1] }); });
  });
}

// Wall time per step of a batch run of `scenario`: a long run's time past a
// one-step run's (loading and saving the same), over the steps between.
function batchStepMs(scenario, steps) {
  const run = (duration) => {
    const t0 = process.hrtime.bigint();
    execFileSync(join(build, 'bin/simhost-run'), [scenario, '--duration', String(duration), '--step', '0.1', '-q', '--no-pictures', '-o', join(work, 'batch')]);
    return Number(process.hrtime.bigint() - t0) / 1e6;
  };
  const floor = Math.min(run(0.1), run(0.1));
  return (Math.min(run(steps / 10), run(steps / 10)) - floor) / (steps - 1);
}

const state = (page) => page.evaluate(() => window.liveView.state);
const pct = (xs, p) => [...xs].sort((a, b) => a - b)[Math.min(xs.length - 1, Math.floor(p * xs.length))];

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
try {
  for (const n of (process.env.BENCH_CRAFT ?? '1,10,100').split(',').map(Number)) {
    const { child, url } = await serve(fleet(n));
    const page = await browser.newPage({ viewport: { width: 1000, height: 700 } });
    const opened = Date.now();
    await page.goto(url);
    await page.waitForFunction(() => window.liveView?.state && window.liveView.frames > 0, null, { polling: 'raf' });
    const firstFrame = Date.now() - opened;
    await page.waitForFunction(() => window.liveView.frames > 120, null, { polling: 'raf', timeout: 120000 });
    const frameMs = await page.evaluate(() => window.liveView.frameMs.slice(-100));
    let line = `${n} craft: first frame ${firstFrame} ms; frame p50 ${pct(frameMs, 0.5).toFixed(1)} ms, p95 ${pct(frameMs, 0.95).toFixed(1)} ms`;
    if (n === 1) {
      // Each press of a key the module ignores is still a step's action: the
      // frame that shows its note is the frame that shows its effect.
      await page.locator('#view').focus();
      const latencies = [];
      for (let i = 0; i < 40; i++) {
        const count = await page.evaluate(() => window.liveView.state.notes_total);
        const t0 = Date.now();
        await page.keyboard.press('KeyQ');
        await page.waitForFunction((c) => window.liveView.state.notes_total > c, count, { polling: 'raf' });
        latencies.push(Date.now() - t0);
      }
      line += `; key to frame p50 ${pct(latencies, 0.5)} ms, p95 ${pct(latencies, 0.95)} ms`;
      const s0 = await page.evaluate(() => window.liveView.state.t);
      const w0 = Date.now();
      await new Promise((r) => setTimeout(r, driftSeconds * 1000));
      const s1 = await page.evaluate(() => window.liveView.state.t);
      const wall = (Date.now() - w0) / 1000;
      line += `; drift at warp 1 over ${wall.toFixed(0)} s: ${(((s1 - s0) - wall) / wall * 100).toFixed(2)} %`;
    }
    // The host's own step time, at x100 so that steps come fast.
    await page.getByRole('button', { name: 'warp x100' }).click();
    const a = await state(page);
    await page.waitForFunction((s) => window.liveView.state.steps > s + 3000, a.steps, { timeout: 120000 });
    const b = await state(page);
    const serveMs = (b.step_seconds - a.step_seconds) * 1000 / (b.steps - a.steps);
    const batchMs = batchStepMs(fleet(n), 100000);
    line += `; step ${serveMs.toFixed(3)} ms in --serve, ${batchMs.toFixed(3)} ms in a batch run (${((serveMs / batchMs - 1) * 100).toFixed(1)} %)`;
    console.log(line);
    await page.getByRole('button', { name: 'Quit' }).click();
    await new Promise((r) => child.on('exit', r));
    await page.close();
  }
} finally {
  await browser.close();
  rmSync(work, { recursive: true, force: true });
}
