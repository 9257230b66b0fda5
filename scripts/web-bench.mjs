#!/usr/bin/env node
// The browser edition's figures, not a test: the page's load time, one key at the top of a
// 5,000-line program, and Run of the counting loop (about 100 million instructions) against the
// native zorvan-run, in one run of each.
// Usage: node --no-experimental-fetch scripts/web-bench.mjs [built folder] [native build folder]
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

import puppeteer from 'puppeteer-core';

const source = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const site = path.resolve(process.argv[2] || path.join(source, 'build-web'));
const native = path.resolve(process.argv[3] || path.join(source, 'build'));
const countLoop = path.join(source, 'bench/peer/count_loop.zrv');
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [],
});
const url = pathToFileURL(path.join(site, 'index.html')).href;

async function freshPage() {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const start = Date.now();
  await page.goto(url);
  await page.waitForSelector('body[data-ready]');
  return { page, context, loadMs: Date.now() - start };
}

async function open(page, file) {
  const chooser = page.waitForFileChooser();
  await page.click('#fileMenu');
  await page.click('#openAction');
  await (await chooser).accept([file]);
  await page.waitForFunction(() => document.title.startsWith('Zorvan-'));
}

const loads = [];
for (let i = 0; i < 5; ++i) {
  const { context, loadMs } = await freshPage();
  loads.push(loadMs);
  await context.close();
}
console.log(`page load to a ready grid (file://, median of 5): ${median(loads)} ms`);

// A 5,000-line program; keys typed into the comment of its first line, each one recomputing the
// addresses down to the end, drawn and kept in the browser's storage.
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'zorvan-web-bench-'));
const big = path.join(work, 'big.zrv');
let lines = '';
for (let line = 0; line < 5000; ++line) {
  lines += `_ ${(0x0200 + line).toString(16).toUpperCase().padStart(4, '0')} NOP _ _ _ \r\n`;
}
fs.writeFileSync(big, lines);
{
  const { page, context } = await freshPage();
  await open(page, big);
  await page.click('#gridRows tr[data-row="1"] > :nth-child(7)');
  // The key's own cost: the page's handler, the core, and the style and layout of the long table
  // that it forces; then, apart, the time to the next frame, which waits for the display's beat.
  const { workMs, frameMs } = await page.evaluate(async () => {
    const editor = document.getElementById('cellEditor');
    const grid = document.getElementById('programGrid');
    const work = [];
    const frame = [];
    for (let i = 0; i < 21; ++i) {
      const start = performance.now();
      editor.dispatchEvent(new KeyboardEvent('keydown', { key: 'a', keyCode: 65, bubbles: true, cancelable: true }));
      void grid.getBoundingClientRect().height;
      work.push(performance.now() - start);
      await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
      frame.push(performance.now() - start);
    }
    const median = (times) => times.sort((a, b) => a - b)[10];
    return { workMs: median(work), frameMs: median(frame) };
  });
  console.log(`one key at the top of a 5,000-line program (median of 21): ${workMs.toFixed(1)} ms ` +
    `(goal: under 16 ms); to the next frame drawn: ${frameMs.toFixed(1)} ms`);
  await context.close();
}

// Run of the counting loop: from Enter in the start-address dialog to the register window.
{
  const { page, context } = await freshPage();
  await open(page, countLoop);
  await page.keyboard.press('F8');
  await page.waitForSelector('#messageBox[open]');
  await page.keyboard.press('Escape');
  await page.keyboard.press('F9');
  await page.waitForSelector('#startAddressDialog[open]');
  await page.keyboard.type('200');
  const start = Date.now();
  await page.keyboard.press('Enter');
  await page.waitForSelector('#registerWindow:not([hidden])', { timeout: 120000 });
  const pageSeconds = (Date.now() - start) / 1000;
  await context.close();
  const runner = path.join(native, 'tools/zorvan-run');
  const nativeStart = process.hrtime.bigint();
  execFileSync(runner, [countLoop, '--limit', '200000000']);
  const nativeSeconds = Number(process.hrtime.bigint() - nativeStart) / 1e9;
  console.log(`count loop: page ${pageSeconds.toFixed(3)} s, zorvan-run ${nativeSeconds.toFixed(3)} s, ` +
    `page/native time ratio: ${(pageSeconds / nativeSeconds).toFixed(2)} (goal: at most 1.5)`);
}
fs.rmSync(work, { recursive: true, force: true });
await browser.close();
