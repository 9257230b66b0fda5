// The browser edition as a student uses it: the real page in the system's headless Chromium,
// driven with keys and clicks, opened from a folder (file://) and from a local server.
//
//   node --test tests/web/page.test.mjs        (ZORVAN_WEB_DIR: the built folder, build-web/)

import assert from 'node:assert/strict';
import { once } from 'node:events';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';

import puppeteer from 'puppeteer-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const source = path.resolve(here, '../..');
const site = path.resolve(process.env.ZORVAN_WEB_DIR || path.join(source, 'build-web'));
const examples = path.join(source, 'examples');

const COMPLETED = 'Η διαδικασία εκτέλεσης ολοκληρώθηκε.';
const STOPPED = 'Η εκτέλεση διακόπηκε από τον χρήστη.';
const OPEN_QUESTION = 'Θέλετε να αποθηκεύσετε πρώτα\nτο αρχείο;';

// The site from 127.0.0.1, as a school's server would give it.
function serve(folder) {
  const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css' };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(folder, name === '/' ? 'index.html' : name);
    if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  server.listen(0, '127.0.0.1');
  return server;
}

// The rows of a program file as the grid shows them, an empty comment empty.
function programRows(bytes) {
  const tokens = new TextDecoder('windows-1253').decode(bytes).split(/\s+/).filter(Boolean);
  const rows = [];
  for (let k = 0; k + 6 <= tokens.length; k += 6) {
    const row = tokens.slice(k, k + 6).map((t, c) => (c < 5 ? (t.startsWith('_') ? '' : t) : t.replaceAll('_', ' ')));
    if (row[5] === ' ') row[5] = '';
    rows.push(row);
  }
  return rows;
}

let browser;
let server;
let origin;
const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'zorvan-downloads-'));

before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    // Chromium refuses its sandbox to root, as CI runs.
    args: process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [],
  });
  server = serve(site);
  await once(server, 'listening');
  origin = `http://127.0.0.1:${server.address().port}`;
}, { timeout: 60000 });

after(async () => {
  await browser?.close();
  server?.close();
  fs.rmSync(downloads, { recursive: true, force: true });
}, { timeout: 60000 });

async function openPage(where = 'file') {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const failures = [];
  const asked = [];
  page.on('pageerror', (error) => failures.push(error.message));
  page.on('dialog', (dialog) => {
    asked.push(dialog.type());
    dialog.accept();
  });
  await page.setViewport({ width: 640, height: 640 });
  const url = where === 'file' ? pathToFileURL(path.join(site, 'index.html')).href : origin + '/';
  await page.goto(url);
  await page.waitForSelector('body[data-ready]');
  const cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {
    behavior: 'allow', downloadPath: downloads, browserContextId: context.id,
  });
  return { page, failures, context, asked };
}

const gridCells = (page) => page.$$eval('#gridRows tr[data-row]', (rows) =>
  rows.slice(1).map((tr) => [...tr.children].slice(1).map((td) => td.dataset.text || '')));
const message = (page) => page.$eval('#messageArea', (e) => ({ text: e.textContent, notice: e.classList.contains('notice') }));

async function clickCell(page, column, row) {
  await page.click(`#gridRows tr[data-row="${row}"] > :nth-child(${column + 2})`);
}

// Types the program cell by cell, as a student does: the first line's address, then per line the
// label, instruction and parameters (each committed with Enter) and the comment. The addresses
// of the following lines are the checker's.
async function typeProgram(page, rows) {
  for (let r = 0; r < rows.length; ++r) {
    const row = rows[r];
    for (let column = 0; column < 6; ++column) {
      if (row[column] === '' || (column === 1 && r > 0)) continue;
      await clickCell(page, column, r + 1);
      await page.keyboard.type(row[column]);
      if (column >= 1 && column <= 4) await page.keyboard.press('Enter');
    }
  }
}

async function answerBox(page, button) {
  await page.waitForSelector('#messageBox[open]');
  const text = await page.$eval('#messageBoxText', (e) => e.textContent);
  const [chosen] = await page.$$(`xpath/.//dialog[@id="messageBox"]//button[text()="${button}"]`);
  await chosen.click();
  await page.waitForSelector('#messageBox:not([open])');
  return text;
}

async function menu(page, menuId, itemId) {
  await page.click('#' + menuId);
  await page.click('#' + itemId);
}

async function shortcut(page, letter) {
  await page.keyboard.down('Control');
  await page.keyboard.press(letter);
  await page.keyboard.up('Control');
}

async function run(page, address) {
  await page.keyboard.press('F9');
  await page.waitForSelector('#startAddressDialog[open]');
  await page.keyboard.type(address);
  await page.keyboard.press('Enter');
  await page.waitForSelector('#registerWindow:not([hidden])');
}

async function savedFile(page, name) {
  const target = path.join(downloads, name);
  fs.rmSync(target, { force: true });
  await menu(page, 'fileMenu', 'saveAction');
  await page.waitForSelector('#saveDialog[open]');
  await page.$eval('#saveFileName', (e) => { e.value = ''; });
  await page.type('#saveFileName', name);
  await page.keyboard.press('Enter');
  for (let i = 0; i < 100 && !fs.existsSync(target); ++i) await new Promise((r) => setTimeout(r, 50));
  return fs.readFileSync(target);
}

async function openFile(page, file) {
  const chooser = page.waitForFileChooser();
  await menu(page, 'fileMenu', 'openAction');
  const picker = await Promise.race([chooser, page.waitForSelector('#messageBox[open]').then(() => null)]);
  if (picker === null) {
    assert.equal(await answerBox(page, 'Όχι'), OPEN_QUESTION);
    await (await chooser).accept([file]);
  } else {
    await picker.accept([file]);
  }
  await page.waitForFunction(() => document.title.startsWith('Zorvan-'));
}

for (const where of ['file', 'server']) {
  describe(`the page from ${where === 'file' ? 'a folder' : 'a server'}`, () => {
    test('the examples typed key by key save as the example files, assemble and run', async () => {
      const { page, failures, context } = await openPage();
      for (const example of ['hello.zrv', 'count.zrv', 'subroutine.zrv']) {
        const bytes = fs.readFileSync(path.join(examples, example));
        const rows = programRows(bytes);
        // The windows of the last run go out of the way, as a student closes them.
        for (const close of await page.$$('.tool-window:not([hidden]) [data-hide]')) await close.click();
        await menu(page, 'fileMenu', 'newAction');
        if (await page.$('#messageBox[open]')) await answerBox(page, 'Όχι');
        await typeProgram(page, rows.slice(0, -1));
        assert.deepEqual(await gridCells(page), rows, example);
        assert.deepEqual(await savedFile(page, example), bytes, example);

        await page.keyboard.press('F8');
        assert.match(await answerBox(page, 'Όχι'), /Επεξεργάστηκαν Συνολικά/);
        await run(page, '200');
        assert.deepEqual(await message(page), { text: COMPLETED, notice: true }, example);
      }
      // subroutine.zrv prints through the console.
      assert.equal(await page.$eval('#consoleWindow', (e) => e.hidden), false);
      await context.close();
      assert.deepEqual(failures, []);
    });
  });
}

describe('the page', () => {
  test('a cell that is not hexadecimal is refused in red and the page goes on', async () => {
    const { page, failures, context } = await openPage();
    await page.keyboard.type('ZZ');
    await page.keyboard.press('Enter');
    const refused = await message(page);
    assert.equal(refused.notice, false);
    assert.notEqual(refused.text, '');
    for (let i = 0; i < 2; ++i) await page.keyboard.press('Backspace');
    await page.keyboard.type('0200');
    await page.keyboard.press('Enter');
    await page.keyboard.type('NOP');
    await page.keyboard.press('Enter');
    const cells = await gridCells(page);
    assert.deepEqual(cells.map((row) => row[1]), ['0200', '0201']);
    assert.equal(cells[0][2], 'NOP');
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('Home, End and Delete work inside a cell as in the desktop editor', async () => {
    const { page, failures, context } = await openPage();
    await clickCell(page, 5, 1);
    await page.keyboard.type('βγ');
    await page.keyboard.press('Home');
    await page.keyboard.type('α');
    await page.keyboard.press('End');
    await page.keyboard.type('δ');
    await page.keyboard.press('Home');
    await page.keyboard.press('Delete');
    assert.equal((await gridCells(page))[0][5], 'βγδ');
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('a file opens and saves byte for byte, and a reload brings the work back', async () => {
    const { page, failures, context, asked } = await openPage('server');
    const file = path.join(examples, 'count.zrv');
    await page.keyboard.type('0200');
    await page.keyboard.press('Enter');
    await openFile(page, file);
    assert.equal(await page.title(), 'Zorvan-count.zrv');
    const opened = await gridCells(page);
    // An empty comment opens as one space, which saves as the placeholder alone.
    const resaved = Buffer.from(fs.readFileSync(file).toString('latin1').replaceAll('_ \r\n', '_\r\n'), 'latin1');
    assert.deepEqual(await savedFile(page, 'again.zrv'), resaved);

    await clickCell(page, 5, 3);
    await page.keyboard.type(' edited');
    const edited = await gridCells(page);
    assert.notDeepEqual(edited, opened);
    // Undo and redo as on the desktop; quick save writes the program's own file, no dialog.
    await shortcut(page, 'z');
    assert.deepEqual(await gridCells(page), opened);
    await shortcut(page, 'y');
    assert.deepEqual(await gridCells(page), edited);
    const quick = path.join(downloads, 'again.zrv');
    fs.rmSync(quick, { force: true });
    await shortcut(page, 's');
    for (let i = 0; i < 100 && !fs.existsSync(quick); ++i) await new Promise((r) => setTimeout(r, 50));
    assert.match(fs.readFileSync(quick, 'latin1'), /edited/);
    assert.equal(await page.$('#saveDialog[open]'), null);

    await page.keyboard.type(' more');
    const typed = await gridCells(page);
    await page.reload();
    await page.waitForSelector('body[data-ready]');
    assert.deepEqual(asked, ['beforeunload'], 'leaving with unsaved changes asks first');
    assert.deepEqual(await gridCells(page), typed);
    assert.equal(await page.title(), 'Zorvan-count.zrv');
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('an endless run keeps the page alive and stops from its window', async () => {
    const { page, failures, context } = await openPage();
    await openFile(page, path.join(source, 'tests/data/forever.zrv'));
    await page.keyboard.press('F8');
    await answerBox(page, 'Όχι');
    await page.keyboard.press('F9');
    await page.waitForSelector('#startAddressDialog[open]');
    await page.keyboard.type('400');
    await page.keyboard.press('Enter');
    await page.waitForSelector('#runStopWindow[open]');
    await page.waitForFunction(() => /[1-9]/.test(document.querySelector('#runStopCount').textContent));
    await page.click('#runStopButton');
    await page.waitForSelector('#registerWindow:not([hidden])');
    assert.deepEqual(await message(page), { text: STOPPED, notice: false });
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('memory and registers are edited in place and the program sees them', async () => {
    const { page, failures, context } = await openPage();
    for (const key of ['0200', 'Enter', 'LDA', 'Enter', '0300', 'Enter']) {
      if (key === 'Enter') await page.keyboard.press(key);
      else await page.keyboard.type(key);
    }
    await page.keyboard.press('F8');
    await answerBox(page, 'Ναι');  // the summary offers the memory window
    await page.waitForSelector('#memoryWindow:not([hidden])');
    await page.click('#memoryStart', { clickCount: 3 });
    await page.keyboard.type('0300');
    await page.keyboard.press('Enter');
    const cell = '#memoryRows tr:nth-child(2) td:nth-child(2) input';
    await page.waitForFunction((c) => document.querySelector(c).getAttribute('aria-label') === '0300 +0', {}, cell);
    await page.click(cell, { clickCount: 3 });
    await page.keyboard.type('c1');
    await page.keyboard.press('Enter');
    assert.equal(await page.$eval('#memoryRows tr:nth-child(2) td:last-child', (e) => e.textContent[0]), 'Α');

    // A register refused keeps the machine and says why; a good one is stored.
    await shortcut(page, 'k');
    await page.waitForSelector('#registerWindow:not([hidden])');
    const sp = '#registerWindow input[data-field="11"]';
    await page.click(sp, { clickCount: 3 });
    await page.keyboard.type('7');
    await page.keyboard.press('Enter');
    assert.equal(await answerBox(page, 'OK'), 'Οχι λιγότερα από δύο δεκαεξαδικά ψηφία.');
    await page.click(sp, { clickCount: 3 });
    await page.keyboard.type('7F');
    await page.keyboard.press('Enter');
    assert.equal(await page.$('#messageBox[open]'), null);

    await clickCell(page, 2, 2);
    await run(page, '200');
    // Every field shows its whole value, the four-digit ones included.
    assert.deepEqual(await page.$$eval('#registerWindow input', (inputs) =>
      inputs.filter((i) => i.scrollWidth > i.clientWidth).map((i) => i.getAttribute('aria-label'))), []);
    const registers = await page.$$eval('#registerWindow input', (inputs) =>
      Object.fromEntries(inputs.map((i) => [i.getAttribute('aria-label'), i.value])));
    assert.equal(registers.AC, 'C1');
    assert.equal(registers.SP, '7F');
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('the step window steps, runs to a breakpoint, steps back and gives the grid back', async () => {
    const { page, failures, context } = await openPage();
    await openFile(page, path.join(examples, 'count.zrv'));
    await page.keyboard.press('F8');
    await answerBox(page, 'Όχι');
    await page.click('#gridRows tr[data-row="8"] > td.margin');  // a breakpoint on BNE LOOP
    await page.keyboard.press('F10');
    await page.waitForSelector('#stepWindow:not([hidden])');
    await page.keyboard.type('200');
    await page.keyboard.press('Enter');  // Εκκίνηση
    await page.keyboard.press('Enter');  // Επόμενο
    const rows = () => page.$$eval('#stepRows tr', (trs) => trs.map((tr) => [...tr.cells].slice(1, 4).map((td) => td.textContent)));
    assert.deepEqual(await rows(), [['0202', 'LDA', '#30'], ['0204', 'STA', '0300,']]);
    assert.equal(await page.$eval('#programGrid', (e) => e.classList.contains('disabled')), true);

    await page.click('#stepContinueButton');
    await page.waitForFunction(() => document.querySelector('#messageArea').textContent.includes('020D'));
    assert.deepEqual((await rows())[1], ['020D', 'BNE', 'LOOP']);
    assert.equal(await page.$eval('#stepSentence', (e) => e.textContent), 'CPX #0A: N 0 → 1');
    // The register window marks what the run changed.
    const marked = () => page.$$eval('#registerWindow input.changed', (inputs) => inputs.map((i) => i.getAttribute('aria-label')));
    assert.deepEqual(await marked(), ['PC', 'Σημαία N — αρνητικό αποτέλεσμα', 'AC', 'XR']);

    await page.click('#stepBackButton');
    assert.deepEqual((await rows())[1], ['020B', 'CPX', '#0A']);
    await page.click('#stepWindow [data-hide]');
    assert.equal(await page.$eval('#programGrid', (e) => e.classList.contains('disabled')), false);
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('an answer typed into the console is stepped back with the step that asked for it', async () => {
    const { page, failures, context } = await openPage();
    const file = path.join(downloads, 'answer.zrv');
    fs.writeFileSync(file, '_ 0200 LDA #60 _ _\r\n_ 0202 STA FFFE _ _\r\n_ 0205 LDA #11 _ _\r\n' +
      '_ 0207 JSR FFFE _ _\r\n_ 020A STA 0300 _ _\r\n_ 020D _ _ _ _\r\n');
    await openFile(page, file);
    await page.keyboard.press('F8');
    await answerBox(page, 'Όχι');
    await page.keyboard.press('F10');
    await page.waitForSelector('#stepWindow:not([hidden])');
    await page.keyboard.type('200');
    await page.keyboard.press('Enter');  // Εκκίνηση
    for (let i = 0; i < 3; ++i) await page.keyboard.press('F11');  // Επόμενο, by its key
    await page.click('#consoleEdit');
    await page.keyboard.type('4A');
    await page.keyboard.press('Enter');
    await page.click('#consoleWindow [data-hide]');  // out of the way of the step window
    await page.click('#stepNextButton');
    await page.click('#stepNextButton');
    for (let i = 0; i < 3; ++i) await page.click('#stepBackButton');
    assert.equal(await page.$eval('#stepSentence', (e) => e.textContent), 'LDA #11: AC 60 → 11');
    const ac = await page.$eval('#registerWindow input[data-field="8"]', (e) => e.value);
    assert.equal(ac, '11');
    // Back to the start of the history by its key; a key in the greyed grid brings the window back.
    await page.keyboard.down('Control');
    await page.keyboard.down('Shift');
    await page.keyboard.press('z');
    await page.keyboard.up('Shift');
    await page.keyboard.up('Control');
    assert.equal(await page.$eval('#registerWindow input[data-field="0"]', (e) => e.value), '0200');
    await page.focus('#cellEditor');
    await page.keyboard.press('a');
    assert.match((await message(page)).text, /Βηματική Εκτέλεση είναι σε εξέλιξη/);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'stepNextButton');
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('a pinned cell, the latest steps, a counted breakpoint and a check switched off', async () => {
    const { page, failures, context } = await openPage();
    const file = path.join(downloads, 'watch.zrv');
    fs.writeFileSync(file, '_ 0200 LDX #00 _ _\r\n_ 0202 INX _ _ _\r\n_ 0203 STX 0300 _ _\r\n' +
      '_ 0206 LDA 0400 _ _\r\n_ 0209 JMP 0202 _ _\r\n_ 020C _ _ _ _\r\n');
    await openFile(page, file);
    await page.keyboard.press('F8');
    await answerBox(page, 'Όχι');
    await page.click('#gridRows tr[data-row="2"] > td.margin');  // a breakpoint on INX
    await page.keyboard.press('F10');
    await page.waitForSelector('#stepWindow:not([hidden])');
    await page.keyboard.type('200');
    await page.keyboard.press('Enter');  // Εκκίνηση: LDX
    await page.type('#pinAddressEdit', '300');
    await page.click('#pinButton');
    const pinned = () => page.$$eval('#pinnedCells tbody tr', (trs) =>
      trs.map((tr) => [tr.cells[0].textContent, tr.cells[1].textContent, tr.classList.contains('changed')]));
    assert.deepEqual(await pinned(), [['0300', '00', false]]);
    for (let i = 0; i < 2; ++i) await page.click('#stepNextButton');  // INX, STX 0300
    assert.deepEqual(await pinned(), [['0300', '01', true]]);
    await page.click('#stepNextButton');  // LDA 0400, which changes nothing there
    assert.deepEqual(await pinned(), [['0300', '01', false]]);
    assert.match((await message(page)).text, /διάβασε το κελί 0400/);
    // On a laptop's screen the windows leave that notice and the grid's lines in sight.
    await page.setViewport({ width: 1366, height: 768 });
    const box = (selector) => page.$eval(selector, (e) => e.getBoundingClientRect().toJSON());
    const [step, registers, notices, grid] =
      await Promise.all(['#stepWindow', '#registerWindow', '#messageArea', '.program-grid'].map(box));
    const apart = (a, b) => a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
    assert.ok(apart(step, notices) && apart(step, registers) && apart(step, grid) && apart(registers, grid));
    await page.setViewport({ width: 640, height: 640 });
    const recent = () => page.$$eval('#recentSteps tbody tr', (trs) => trs.map((tr) => tr.cells[0].textContent));
    assert.deepEqual(await recent(), ['1', '2', '3', '4']);

    // Back to just after STX through the list, by the keyboard.
    await page.focus('#recentSteps');
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('Enter');
    assert.deepEqual(await recent(), ['1', '2', '3']);
    assert.deepEqual(await pinned(), [['0300', '01', false]]);
    assert.equal(await page.$eval('#registerWindow input[data-field="0"]', (e) => e.value), '0206');

    // The count is that of the current line's breakpoint: none on LDA, INX's two lines up.
    assert.equal(await page.$eval('#hitCountEdit', (e) => e.disabled), true);
    await page.focus('#stepNextButton');
    for (let i = 0; i < 2; ++i) await page.keyboard.press('ArrowUp');
    assert.equal(await page.$eval('#hitCountLabel', (e) => e.textContent),
      'Σημείο διακοπής γραμμής 2: διακοπή μετά από');
    // Stopped on the breakpoint's 2nd pass, with the read told after the run.
    await page.click('#hitCountEdit', { clickCount: 3 });
    await page.keyboard.type('2');
    await page.click('#stepContinueButton');
    await page.waitForFunction(() => document.querySelector('#messageArea').textContent.includes('πέρασμα'));
    assert.match((await message(page)).text, /Στάση στο 2ο πέρασμα\..*διάβασε το κελί 0400/s);
    assert.equal(await page.$eval('#registerWindow input[data-field="9"]', (e) => e.value), '02');

    // Run counts the passes too; Run again goes on from the breakpoint to its next 2nd pass.
    await page.click('#stepWindow [data-hide]');
    const xr = () => page.$eval('#registerWindow input[data-field="9"]', (e) => e.value);
    await run(page, '200');
    assert.match((await message(page)).text, /^Σημείο διακοπής στη γραμμή 2, διεύθυνση 0202\. Στάση στο 2ο πέρασμα\./);
    assert.equal(await xr(), '01');
    await page.keyboard.press('F9');
    await page.waitForSelector('#startAddressDialog[open]');
    await page.keyboard.press('Enter');  // the address offered is the breakpoint's
    await page.waitForFunction(() => document.querySelector('#registerWindow input[data-field="9"]').value === '03');
    await page.keyboard.press('F10');
    await page.waitForSelector('#stepWindow:not([hidden])');
    await page.keyboard.type('200');
    await page.keyboard.press('Enter');  // Εκκίνηση: LDX

    await menu(page, 'viewMenu', 'unwrittenReadCheckAction');
    for (let i = 0; i < 3; ++i) await page.click('#stepNextButton');
    assert.doesNotMatch((await message(page)).text, /διάβασε/);
    // A window moves by its title bar where the student wants it.
    const { x, y } = await box('#stepWindow');
    await page.mouse.move(x + 20, y + 8);
    await page.mouse.down();
    await page.mouse.move(x + 50, y + 208, { steps: 3 });
    await page.mouse.up();
    const moved = await box('#stepWindow');
    assert.deepEqual([moved.x, moved.y], [x + 30, y + 200]);
    assert.ok(moved.bottom <= (await box('#messageArea')).top, 'clear of the messages, scrolling inside');
    await page.setViewport({ width: 400, height: 300 });  // a narrower page brings it back in reach
    await page.waitForFunction(() => document.querySelector('#stepTitle').getBoundingClientRect().bottom <= innerHeight);
    await page.setViewport({ width: 640, height: 640 });
    await page.reload();
    await page.waitForSelector('body[data-ready]');
    assert.equal(await page.$eval('#unwrittenReadCheckAction', (e) => e.getAttribute('aria-checked')), 'false');
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('insert lines, About, the help pages and their example links', async () => {
    const { page, failures, context } = await openPage();
    for (const key of ['0200', 'Enter', 'NOP', 'Enter']) {
      if (key === 'Enter') await page.keyboard.press(key);
      else await page.keyboard.type(key);
    }
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('Insert');
    assert.equal((await gridCells(page)).length, 3);
    await menu(page, 'gridMenu', 'insertLinesAction');
    await page.waitForSelector('#insertLinesDialog[open]');
    await page.keyboard.type('2');
    await page.keyboard.press('Enter');
    assert.equal((await gridCells(page)).length, 5);
    await menu(page, 'gridMenu', 'insertLinesAction');
    await page.keyboard.type('x');
    await page.keyboard.press('Enter');  // not a number: the error box, nothing inserted
    await answerBox(page, 'OK');
    assert.equal((await gridCells(page)).length, 5);

    await menu(page, 'helpMenu', 'aboutAction');
    await page.waitForSelector('#aboutDialog[open]');
    await page.keyboard.press('Escape');
    await page.waitForSelector('#aboutDialog:not([open])');
    await page.waitForFunction(() => document.activeElement?.id === 'cellEditor');

    await page.keyboard.press('F1');
    const helpTarget = await context.waitForTarget((t) => t.url().endsWith('help/index.html'), { timeout: 30000 });
    const helpPage = await helpTarget.page();
    await helpPage.waitForFunction(() => document.readyState === 'complete');
    assert.equal(await helpPage.title(), 'Περιεχόμενα');

    // «Άνοιγμα στο πλέγμα» in the help's tab: New's question in the page, then the example in
    // the grid, assembled. The exercise check is the desktop's: its link is plain text here.
    await helpPage.goto(helpPage.url().replace('index.html', 'lessons.html'));
    assert.equal(await helpPage.$('a[href^="zorvan-check:"]'), null);
    await helpPage.click('a[href="zorvan-open:examples/lessons/lesson1.zrv"]');
    await page.bringToFront();  // as the help's opener.focus() does in a browser with windows
    assert.equal(await answerBox(page, 'Όχι'), 'Το πλέγμα έχει αλλάξει! Θέλετε να αποθηκεύσετε;');
    await page.waitForFunction(() => document.querySelector('#messageArea').textContent.includes('F9'));
    const lesson = programRows(fs.readFileSync(path.join(examples, 'lessons', 'lesson1.zrv')));
    const program = (rows) => rows.map((row) => row.slice(0, 5));  // the comments aside
    assert.deepEqual(program((await gridCells(page)).slice(0, lesson.length)), program(lesson));
    assert.equal((await message(page)).notice, true);
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('printing lays the listing out in aligned columns on pages', async () => {
    const { page, failures, context } = await openPage();
    await openFile(page, path.join(examples, 'count.zrv'));
    await page.evaluate(() => { window.print = () => {}; });
    await menu(page, 'fileMenu', 'printAction');
    const pages = await page.$$eval('#printListing pre', (pres) => pres.map((p) => p.textContent.split('\n')));
    assert.equal(pages.length, 1);
    const lines = pages[0].filter((line) => /^ *[0-9]+:/.test(line));
    assert.equal(lines.length, 18);
    // Every row's address starts in the same column.
    assert.equal(new Set(lines.map((line) => line.search(/02[0-9A-F]{2}/))).size, 1);
    assert.match(pages[0][0], /count\.zrv/);
    await context.close();
    assert.deepEqual(failures, []);
  });

  test('closing the start-address dialog cancels the run in red', async () => {
    const { page, failures, context } = await openPage();
    await page.keyboard.press('Space');  // any key enables the execution commands
    await page.keyboard.press('F9');
    await page.waitForSelector('#startAddressDialog[open]');
    await page.keyboard.press('Enter');  // 0000 is never a start address: the dialog stays
    assert.ok(await page.$('#startAddressDialog[open]'));
    await page.keyboard.press('Escape');
    assert.deepEqual(await message(page), { text: 'Η διαδικασία εκτέλεσης απορρίφθηκε.', notice: false });
    await context.close();
    assert.deepEqual(failures, []);
  });
});
