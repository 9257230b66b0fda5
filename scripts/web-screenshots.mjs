#!/usr/bin/env node
// The README's pictures of the browser edition: the built page in headless Chromium.
// Usage: node scripts/web-screenshots.mjs [built folder, default build-web] [out folder, docs]
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

import puppeteer from 'puppeteer-core';

const source = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const site = path.resolve(process.argv[2] || path.join(source, 'build-web'));
const out = path.resolve(process.argv[3] || path.join(source, 'docs'));

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [],
});
const page = await browser.newPage();
await page.setViewport({ width: 760, height: 600 });
await page.goto(pathToFileURL(path.join(site, 'index.html')).href);
await page.waitForSelector('body[data-ready]');

async function open(file) {
  const chooser = page.waitForFileChooser();
  await page.click('#fileMenu');
  await page.click('#openAction');
  await (await chooser).accept([file]);
  await page.waitForFunction(() => document.title.startsWith('Zorvan-'));
}
async function assembleAndRun() {
  await page.keyboard.press('F8');
  await page.waitForSelector('#messageBox[open]');
  await page.keyboard.press('Escape');
  await page.keyboard.press('F9');
  await page.waitForSelector('#startAddressDialog[open]');
  await page.keyboard.type('200');
  await page.keyboard.press('Enter');
  await page.waitForSelector('#registerWindow:not([hidden])');
}
const move = (id, left, top) =>
  page.$eval(id, (e, l, t) => { e.style.left = l + 'px'; e.style.top = t + 'px'; }, left, top);

await open(path.join(source, 'examples/count.zrv'));
await assembleAndRun();
await move('#registerWindow', 300, 360);
await page.screenshot({ path: path.join(out, 'web-main-window.png') });

await open(path.join(source, 'examples/subroutine.zrv'));
await assembleAndRun();
await page.$eval('#registerWindow [data-hide]', (e) => e.click());
await page.$eval('#consoleWindow', (e) => { e.style.width = '300px'; e.style.height = '200px'; });
await move('#consoleWindow', 420, 80);
await page.click('#viewMenu');
await page.screenshot({ path: path.join(out, 'web-console-menu.png') });

// The step window stopped by Συνέχεια at a breakpoint on BNE LOOP, on a laptop's screen, where
// the windows stand at the right of the grid.
await page.keyboard.press('Escape');
await page.setViewport({ width: 1366, height: 768 });
await page.$eval('#registerWindow', (e) => { e.style.left = ''; e.style.top = ''; });
await page.$eval('#consoleWindow [data-hide]', (e) => e.click());
await open(path.join(source, 'examples/count.zrv'));
await page.keyboard.press('F8');
await page.waitForSelector('#messageBox[open]');
await page.keyboard.press('Escape');
await page.click('#gridRows tr[data-row="8"] > td.margin');
await page.keyboard.press('F10');
await page.waitForSelector('#stepWindow:not([hidden])');
await page.keyboard.type('200');
await page.keyboard.press('Enter');
await page.click('#stepContinueButton');
await page.waitForFunction(() => document.querySelector('#messageArea').textContent.includes('020D'));
await page.screenshot({ path: path.join(out, 'web-step-window.png') });
await browser.close();
