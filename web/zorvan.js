// The browser edition's page: it draws the main window and its windows and forwards every event to
// the core (zorvan-core.js, the C++ core built for WebAssembly). Each rule of the program (what a
// key does to the grid, the checks, the assembly, the run, the file format, the questions of New,
// Open, Save and Exit) is the core's; the page decides nothing but where to draw.
//
// Plain DOM, no framework: the page is a handful of fixed windows whose contents the core hands
// over ready to show, the folder must work from file:// with nothing fetched, and the whole site
// has to stay small enough for a school's slowest computer.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const STORAGE_KEY = 'zorvan.work';
  // The View menu's slip checks, on or off by their item's name; a check not named is on.
  const CHECKS_KEY = 'zorvan.checks';
  const SLICE_INSTRUCTIONS = 20000;
  const SLICE_MS = 40;
  const STOP_WINDOW_DELAY_MS = 250;
  const KEEP_DELAY_MS = 150;

  let core = null;
  // A command or a dialog is in progress: keys go to it, not to the grid.
  let busy = false;
  let view = null;
  let leaving = false;

  // ---- Calls into the core -------------------------------------------------------------------

  function call(name, ...args) {
    const types = args.map((a) => (typeof a === 'number' ? 'number' : 'string'));
    return core.ccall(name, 'string', types, args);
  }
  function callJson(name, ...args) {
    return JSON.parse(call(name, ...args));
  }
  function callNumber(name, ...args) {
    const types = args.map((a) => (typeof a === 'number' ? 'number' : 'string'));
    return core.ccall(name, 'number', types, args);
  }
  function callVoid(name, ...args) {
    const types = args.map((a) => (typeof a === 'number' ? 'number' : 'string'));
    core.ccall(name, null, types, args);
  }

  // ---- Message boxes -------------------------------------------------------------------------

  // buttons: [{text, value}], escape: the value of Escape (or undefined: Escape does nothing).
  function messageBox(text, icon, buttons, escapeValue) {
    return new Promise((resolve) => {
      const box = $('messageBox');
      $('messageBoxText').textContent = text;
      $('messageBoxIcon').className = 'box-icon ' + icon;
      const row = $('messageBoxButtons');
      row.replaceChildren();
      const finish = (value) => {
        box.removeEventListener('cancel', onCancel);
        box.close();
        resolve(value);
      };
      const onCancel = (event) => {
        event.preventDefault();
        if (escapeValue !== undefined) finish(escapeValue);
      };
      box.addEventListener('cancel', onCancel);
      for (const { text: caption, value } of buttons) {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = caption;
        button.addEventListener('click', () => finish(value));
        row.append(button);
      }
      box.showModal();
      row.firstChild.focus();
    });
  }
  const showError = (text) => messageBox(text, 'error', [{ text: 'OK', value: 0 }], 0);
  const showWarning = (text) => messageBox(text, 'warning', [{ text: 'OK', value: 0 }], 0);
  const YES_NO = [{ text: 'Ναι', value: 1 }, { text: 'Όχι', value: 0 }];

  function beep() {
    try {
      const audio = new AudioContext();
      const tone = audio.createOscillator();
      tone.frequency.value = 880;
      tone.connect(audio.destination);
      tone.start();
      tone.stop(audio.currentTime + 0.08);
    } catch (e) {
      // No sound to be had: the grid shows what happened.
    }
  }

  // ---- The program grid ----------------------------------------------------------------------

  const gridRows = $('gridRows');
  const editor = document.createElement('input');
  editor.id = 'cellEditor';
  editor.className = 'cell-editor';
  editor.autocomplete = 'off';
  editor.spellcheck = false;
  // The grid draws only the rows in sight (and a few around them): a long program would make
  // the browser lay out its whole table on every key. The texts of every row stay here.
  let ROW_HEIGHT = 21;  // measured once the first row is drawn
  const ROWS_AROUND = 8;
  const cells = [];  // cells[row][column], row 0 the header
  const rowElements = new Map();  // row -> its <tr>, for the rows drawn
  let drawn = { first: 1, last: 0 };
  const topSpace = document.createElement('tr');
  const bottomSpace = document.createElement('tr');
  for (const space of [topSpace, bottomSpace]) {
    space.className = 'spacer';
    space.setAttribute('aria-hidden', 'true');
    const td = document.createElement('td');
    td.colSpan = 7;
    space.append(td);
  }
  const scroller = $('gridScroller');

  function makeRow(row) {
    const tr = document.createElement('tr');
    tr.setAttribute('role', 'row');
    tr.setAttribute('aria-rowindex', String(row + 1));
    const margin = document.createElement(row === 0 ? 'th' : 'td');
    margin.className = 'margin';
    margin.setAttribute('role', row === 0 ? 'columnheader' : 'rowheader');
    if (row > 0) margin.setAttribute('aria-label', 'Γραμμή ' + row);
    if (breakpointRows.has(row)) margin.classList.add('breakpoint');
    tr.append(margin);
    for (let column = 0; column < 6; ++column) {
      const cell = document.createElement(row === 0 ? 'th' : 'td');
      cell.setAttribute('role', row === 0 ? 'columnheader' : 'gridcell');
      cell.dataset.column = String(column);
      const text = cells[row] ? cells[row][column] : '';
      cell.dataset.text = text;
      cell.textContent = text;
      tr.append(cell);
    }
    tr.dataset.row = String(row);
    return tr;
  }

  function cellElement(column, row) {
    const tr = rowElements.get(row);
    return tr ? tr.children[column + 1] : null;
  }

  // The cell's text; the current cell shows it in the editor.
  function setCellText(column, row, text) {
    cells[row][column] = text;
    const td = cellElement(column, row);
    if (!td) return;
    td.dataset.text = text;
    if (td.contains(editor)) {
      editor.value = text;
    } else {
      td.textContent = text;
    }
  }

  // Draws the rows from first to last (data rows), keeping the ones already drawn.
  function drawRows(first, last) {
    for (const [row, tr] of rowElements) {
      if (row !== 0 && (row < first || row > last)) {
        if (tr.contains(editor)) editor.remove();
        tr.remove();
        rowElements.delete(row);
      }
    }
    if (!rowElements.has(0)) {
      const header = makeRow(0);
      rowElements.set(0, header);
      gridRows.prepend(header);
    }
    if (topSpace.parentElement !== gridRows) rowElements.get(0).after(topSpace);
    let before = bottomSpace;
    if (bottomSpace.parentElement !== gridRows) gridRows.append(bottomSpace);
    for (let row = last; row >= first; --row) {
      let tr = rowElements.get(row);
      if (!tr) {
        tr = makeRow(row);
        rowElements.set(row, tr);
        gridRows.insertBefore(tr, before);
      }
      before = tr;
    }
    if (rowElements.has(first) && first === 1 && drawn.last < drawn.first) {
      ROW_HEIGHT = rowElements.get(first).getBoundingClientRect().height || ROW_HEIGHT;
    }
    const space = (td, rows) => {
      td.style.height = rows * ROW_HEIGHT + 'px';
      td.parentElement.hidden = rows === 0;
    };
    space(topSpace.firstChild, first - 1);
    space(bottomSpace.firstChild, Math.max(0, cells.length - 1 - last));
    drawn = { first, last };
  }

  function drawRowsInSight(force = false) {
    const lastRow = cells.length - 1;
    const seen = Math.ceil(scroller.clientHeight / ROW_HEIGHT);
    const first = Math.max(1, Math.floor(scroller.scrollTop / ROW_HEIGHT) - ROWS_AROUND);
    const last = Math.min(lastRow, first + seen + 2 * ROWS_AROUND);
    if (force || first !== drawn.first || last !== drawn.last) drawRows(first, last);
  }
  scroller.addEventListener('scroll', () => {
    drawRowsInSight();
    if (view) placeEditor(false);
  });

  let breakpointRows = new Set();

  function render() {
    view = callJson('zw_view');
    const rowCountChanged = cells.length !== view.rowCount;
    while (cells.length < view.rowCount) cells.push(['', '', '', '', '', '']);
    if (cells.length > view.rowCount) cells.length = view.rowCount;
    for (const [column, row, text] of view.cells) setCellText(column, row, text);

    const marks = new Set(view.breakpoints);
    for (const row of new Set([...breakpointRows, ...marks])) {
      const tr = rowElements.get(row);
      if (tr) tr.firstChild.classList.toggle('breakpoint', marks.has(row));
    }
    breakpointRows = marks;
    // The step window's count is that of the current line's breakpoint.
    const count = $('hitCountEdit');
    $('hitCountLabel').textContent = view.breakpointCaption;
    count.disabled = view.breakpointRow === 0;
    count.dataset.row = String(view.breakpointRow);
    if (document.activeElement !== count) count.value = String(view.breakpointEvery);
    if (view.breakpointRow !== 0) {
      count.setAttribute('aria-label',
        `Διακοπή μετά από τόσα περάσματα από το σημείο διακοπής της γραμμής ${view.breakpointRow}`);
    } else {
      count.removeAttribute('aria-label');
    }
    $('hitCountTimes').hidden = view.breakpointRow === 0;

    if (rowCountChanged) drawRowsInSight(true);
    placeEditor(true);
    const area = $('messageArea');
    area.textContent = view.message;
    area.classList.toggle('notice', view.notice);
    area.classList.toggle('disabled', !view.messageEnabled);
    $('messageHeading').classList.toggle('disabled', !view.headingEnabled);
    document.title = view.caption;
    for (const item of executionItems) item.setAttribute('aria-disabled', String(!view.executionEnabled));
    if (historyItems.undoAction) {
      historyItems.undoAction.setAttribute('aria-disabled', String(!view.canUndo));
      historyItems.redoAction.setAttribute('aria-disabled', String(!view.canRedo));
    }
    slipItems.forEach((item, kind) => item.setAttribute('aria-checked', String(view.slipChecks[kind])));
    keepWork();
  }

  // The editor stands in the current cell; bringIntoSight scrolls to it when it has moved.
  let editorAt = '';
  function placeEditor(bringIntoSight) {
    const row = view.row;
    const column = view.col;
    if (row < 1 || row >= view.rowCount) {
      editor.remove();
      return;
    }
    const moved = editorAt !== column + ',' + row;
    editorAt = column + ',' + row;
    if (bringIntoSight && (moved || !cellElement(column, row))) scrollToRow(row);
    if (row < drawn.first || row > drawn.last) drawRowsInSight();
    const td = cellElement(column, row);
    if (!td) {
      // Scrolled away: the editor waits, out of sight, for the keys.
      if (editor.parentElement !== $('gridScroller')) $('gridScroller').append(editor);
      editor.classList.add('away');
    } else if (!td.contains(editor)) {
      const old = editor.parentElement;
      if (old && old.tagName === 'TD') {
        editor.remove();
        old.textContent = old.dataset.text || '';
        old.removeAttribute('aria-selected');
      }
      editor.classList.remove('away');
      td.textContent = '';
      td.append(editor);
      td.setAttribute('aria-selected', 'true');
    }
    // The same text in the same cell keeps the caret where the student put it; a cell the
    // editor comes to has it at the end.
    if (moved || editor.value !== cells[row][column]) {
      editor.value = cells[row][column];
      editor.setSelectionRange(editor.value.length, editor.value.length);
    }
    editor.setAttribute('aria-label', cells[0][column] + ', γραμμή ' + row);
    if (!busy && document.activeElement !== editor && !anyWindowFocused()) editor.focus({ preventScroll: true });
  }

  function scrollToRow(row) {
    const top = (row - 1) * ROW_HEIGHT;
    const sight = scroller.clientHeight - ROW_HEIGHT;  // below the header
    if (top < scroller.scrollTop) scroller.scrollTop = top;
    if (top + ROW_HEIGHT > scroller.scrollTop + sight) scroller.scrollTop = top + ROW_HEIGHT - sight;
    drawRowsInSight();
  }

  function anyWindowFocused() {
    const active = document.activeElement;
    return active && active.closest && active.closest('.tool-window') !== null;
  }

  // The key codes of the system's own keys, as the desktop's windowing layer gives them.
  const NAMED_KEYS = {
    Backspace: 8, Tab: 9, Enter: 13, Shift: 16, Control: 17, Alt: 18, Escape: 27, ' ': 32,
    PageUp: 33, PageDown: 34, End: 35, Home: 36, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39,
    ArrowDown: 40, Insert: 45, Delete: 46,
  };

  function keyCode(event) {
    if (event.key in NAMED_KEYS) return NAMED_KEYS[event.key];
    const f = /^F([0-9]{1,2})$/.exec(event.key);
    if (f) return 111 + Number(f[1]);
    const characters = [...event.key];
    if (characters.length === 1) {
      const upper = characters[0].toUpperCase();
      if (/^[A-Z0-9]$/.test(upper)) return upper.charCodeAt(0);
    }
    return 0;
  }

  // The character the key types, as the desktop's editor receives it (0 for none).
  function typedCharacter(event) {
    switch (event.key) {
      case 'Enter': return 13;
      case 'Tab': return 9;
      case 'Backspace': return 8;
      case 'Escape': return 27;
      case 'Delete': return 0;
      default: break;
    }
    const characters = [...event.key];
    if (characters.length !== 1) return 0;
    const code = characters[0].codePointAt(0);
    if (event.ctrlKey && !event.altKey && /^[a-z]$/i.test(characters[0])) return code & 0x1f;
    return code === 0x7f ? 0 : code;
  }

  // The editor's selection in characters (the cell's characters are all of one UTF-16 unit).
  function editorSelection() {
    return document.activeElement === editor ? [editor.selectionStart, editor.selectionEnd] : [-1, -1];
  }

  async function gridKey(code, shift, ctrl, alt, character, selection = editorSelection()) {
    const result = callJson('zw_key', code, shift ? 1 : 0, ctrl ? 1 : 0, alt ? 1 : 0, character, ...selection);
    render();
    if (result.caret !== undefined) editor.setSelectionRange(result.caret, result.caret);
    if (result.error) await guardedBox(() => showError(result.error));
  }

  // A box opened while the grid has the keys: the grid gets them back afterwards.
  async function guardedBox(show) {
    busy = true;
    try {
      await show();
    } finally {
      busy = false;
      render();
      editor.focus();
    }
  }

  editor.addEventListener('keydown', (event) => {
    if (busy || event.isComposing || event.key === 'Process') return;
    if (event.key === 'Dead') return;  // the accent waits for its letter, which comes as input
    if (menuShortcut(event)) return;
    if (openMenuByKey(event)) return;
    // Home and End move the caret inside the cell, as the desktop's editor does, once the grid
    // has had the key.
    const caretKey = (event.key === 'Home' || event.key === 'End') && !event.ctrlKey && !event.altKey;
    if (!caretKey) event.preventDefault();
    if (!gridEnabled) {
      // The step window has the program: it comes back to the front, and says so.
      event.preventDefault();
      if (event.key === 'Shift' || event.key === 'Control' || event.key === 'Alt') return;
      callVoid('zw_tell_stepping_under_way');
      render();
      showToolWindow(stepWindow);
      const next = $('stepNextButton');
      if (!next.hidden && !next.disabled) next.focus();
      return;
    }
    gridKey(keyCode(event), event.shiftKey, event.ctrlKey, event.altKey, typedCharacter(event));
  });
  // Characters that come composed (a dead key's accent with its letter, an input method): what
  // the editor took in is given back to the core as the keys that type it, where it was typed.
  editor.addEventListener('input', () => {
    const td = editor.parentElement;
    const before = td && td.dataset.text ? td.dataset.text : '';
    const after = editor.value;
    let start = 0;
    while (start < before.length && start < after.length && before[start] === after[start]) ++start;
    let end = 0;
    while (end < before.length - start && end < after.length - start &&
           before[before.length - 1 - end] === after[after.length - 1 - end]) ++end;
    const typed = after.slice(start, after.length - end);
    editor.value = before;
    let selection = [start, before.length - end];
    for (const character of typed) {
      gridKey(0, false, false, false, character.codePointAt(0), selection);
      selection = [selection[0] + 1, selection[0] + 1];
    }
  });
  editor.addEventListener('paste', (event) => {
    event.preventDefault();
    const text = event.clipboardData.getData('text');
    for (const character of text.replace(/\r\n?/g, '\n')) {
      const code = character === '\n' ? 13 : character.codePointAt(0);
      const key = character === '\n' ? 13 : character === '\t' ? 9 : character === ' ' ? 32 : 0;
      gridKey(key, false, false, false, code);
    }
  });

  gridRows.addEventListener('mousedown', (event) => {
    if (busy) return;
    const td = event.target.closest('td, th');
    if (!td) return;
    const row = Number(td.parentElement.dataset.row);
    if (!(row >= 1)) return;  // the header, or the space standing for rows out of sight
    if (event.target === editor && gridEnabled) return;  // the caret goes where the click is
    event.preventDefault();
    if (td.classList.contains('margin')) {
      callVoid('zw_toggle_breakpoint_at', row);
    } else if (!gridEnabled) {
      callVoid('zw_set_row', row);  // the line Έως τον κέρσορα runs to
    } else {
      callVoid('zw_set_current', Number(td.dataset.column), row);
    }
    render();
    editor.focus();
  });

  // ---- Menus ---------------------------------------------------------------------------------

  // The slips the core tells in blue after runs and steps, each switched on and off in the View
  // menu; kept with the page's other settings.
  const SLIP_CHECKS = [
    ['nestedJsrCheckAction', 'Προσοχή: JSR μέσα σε υπορουτίνα'],
    ['rtsWithoutJsrCheckAction', 'Προσοχή: RTS χωρίς JSR'],
    ['leftProgramCheckAction', 'Προσοχή: PC έξω από το πρόγραμμα'],
    ['unwrittenReadCheckAction', 'Προσοχή: ανάγνωση κελιού που δεν γράφτηκε'],
    ['stackMovedCheckAction', 'Προσοχή: SP στο RTS άλλος από του JSR'],
  ];
  const slipItems = [];

  function keptChecks() {
    try {
      const kept = JSON.parse(localStorage.getItem(CHECKS_KEY) || '{}');
      return kept && typeof kept === 'object' ? kept : {};
    } catch (e) {
      return {};  // refused storage, or a text that is not ours
    }
  }

  function toggleSlipCheck(kind) {
    const on = !view.slipChecks[kind];
    callVoid('zw_set_slip_check', kind, on ? 1 : 0);
    const kept = keptChecks();
    kept[SLIP_CHECKS[kind][0]] = on;
    try {
      localStorage.setItem(CHECKS_KEY, JSON.stringify(kept));
    } catch (e) {
      // Storage refused (a private window): the choice holds for this visit.
    }
  }

  // The desktop's menus, captions, access keys (after "&") and shortcuts.
  const MENUS = [
    ['fileMenu', '&Αρχείο', [
      // A browser keeps Ctrl+N for a new window: New takes Ctrl+Alt+N here.
      ['newAction', '&Δημιουργία', 'Ctrl+Alt+N', () => fileFlow(FLOW.new)],
      ['openAction', 'Ά&νοιγμα', 'Ctrl+O', () => fileFlow(FLOW.open)],
      ['saveAction', 'Αποθήκευ&ση', null, () => fileFlow(FLOW.save)],
      ['quickSaveAction', 'Γρήγορη αποθήκευση', 'Ctrl+S', () => fileFlow(FLOW.quickSave)],
      ['printAction', '&Εκτύπωση', null, printListing],
      null,
      ['exitAction', 'Έ&ξοδος', null, () => fileFlow(FLOW.exit)],
    ]],
    ['gridMenu', '&Πλέγμα', [
      ['insertLineAction', 'Ει&σαγωγή Γραμμής', 'Ins', () => simpleCommand('zw_insert_line')],
      ['insertLinesAction', 'Εισαγωγή Γραμμών', null, insertLines],
      ['deleteLineAction', 'Διαγραφή Γραμμής', 'Shift+Del', deleteLine],
      ['clearGridAction', '&Καθαρισμός Πλέγματος', null, () => simpleCommand('zw_clear_grid')],
      null,
      ['undoAction', 'Αναίρεση', 'Ctrl+Z', () => callVoid('zw_undo')],
      ['redoAction', 'Επανάληψη', ['Ctrl+Y', 'Ctrl+Shift+Z'], () => callVoid('zw_redo')],
    ]],
    ['executionMenu', '&Εκτέλεση', [
      ['assembleAction', '&Συμβολομετάφραση', 'F8', assemble, true],
      ['runAction', 'Ε&κτέλεση', 'F9', runProgram, true],
      ['stepAction', 'Β&ηματική Εκτέλεση', 'F10', openStepWindow, true],
      ['breakpointAction', 'Σημείο Διακοπής', 'F5', () => simpleCommand('zw_toggle_breakpoint')],
    ]],
    ['viewMenu', '&Εμφάνιση', [
      ['showMemoryAction', 'Εμ&φάνιση Μνήμης', 'Ctrl+F', showMemoryWindow],
      ['clearMemoryAction', 'Καθαρισμός Μνήμης', null, () => { callVoid('zw_clear_memory'); refreshWindows(); }],
      ['showRegistersAction', 'Εμφάνιση &Καταχωρητών', 'Ctrl+K', showRegisterWindow],
      ['clearRegistersAction', 'Καθαρισμός Καταχωρητών', null, () => { callVoid('zw_clear_registers'); refreshWindows(); }],
      ['showConsoleAction', 'Εμφάνιση Κονσό&λας', null, () => showToolWindow($('consoleWindow'))],
      null,
      // Checked items, in the core's order of the checks (their index is the check's number).
      ...SLIP_CHECKS.map(([name, title], kind) => [name, title, null, () => toggleSlipCheck(kind), false, kind]),
    ]],
    ['helpMenu', 'Βοήθεια', [
      ['helpAction', 'Βοήθεια για τον 6502', 'F1', openHelp],
      ['aboutAction', 'Περί της Εφαρμογής...', null, showAbout],
    ]],
  ];

  const shortcuts = new Map();
  const executionItems = [];
  const historyItems = {};
  const menuButtons = [];
  let openMenu = null;

  // Greek letters on the keys of a Greek keyboard, so that an access key works whichever
  // layout is active.
  const GREEK_KEYS = {
    KeyA: 'α', KeyB: 'β', KeyD: 'δ', KeyE: 'ε', KeyF: 'φ', KeyH: 'η', KeyK: 'κ', KeyL: 'λ',
    KeyN: 'ν', KeyP: 'π', KeyR: 'ρ', KeyS: 'σ', KeyX: 'ξ', KeyJ: 'ξ',
  };
  const plainLetter = (text) => text.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase();

  function caption(text) {
    const fragment = document.createDocumentFragment();
    const at = text.indexOf('&');
    if (at < 0) {
      fragment.append(text);
      return { fragment, key: null };
    }
    fragment.append(text.slice(0, at));
    const u = document.createElement('u');
    u.textContent = text[at + 1];
    fragment.append(u, text.slice(at + 2));
    return { fragment, key: plainLetter(text[at + 1]) };
  }

  function buildMenus() {
    const bar = $('mainMenu');
    for (const [name, title, items] of MENUS) {
      const wrap = document.createElement('div');
      wrap.className = 'menu';
      const button = document.createElement('button');
      button.type = 'button';
      button.id = name;
      button.setAttribute('role', 'menuitem');
      button.setAttribute('aria-haspopup', 'menu');
      button.setAttribute('aria-expanded', 'false');
      const { fragment, key } = caption(title);
      button.append(fragment);
      button.dataset.key = key || '';
      const list = document.createElement('div');
      list.className = 'menu-items';
      list.setAttribute('role', 'menu');
      list.setAttribute('aria-label', title.replace('&', ''));
      list.hidden = true;
      for (const item of items) {
        if (item === null) {
          const separator = document.createElement('div');
          separator.setAttribute('role', 'separator');
          separator.className = 'separator';
          list.append(separator);
          continue;
        }
        const [itemName, itemTitle, shortcut, action, execution, check] = item;
        const entry = document.createElement('button');
        entry.type = 'button';
        entry.id = itemName;
        entry.setAttribute('role', check === undefined ? 'menuitem' : 'menuitemcheckbox');
        if (check !== undefined) slipItems[check] = entry;
        const label = caption(itemTitle);
        const text = document.createElement('span');
        text.append(label.fragment);
        entry.append(text);
        entry.dataset.key = label.key || '';
        entry.setAttribute('aria-label', itemTitle.replace('&', ''));
        if (shortcut) {
          const names = [].concat(shortcut);
          const keys = document.createElement('span');
          keys.className = 'shortcut';
          keys.textContent = names[0];
          entry.append(keys);
          entry.setAttribute('aria-keyshortcuts',
            names.map((name) => name.replace('Del', 'Delete').replace('Ins', 'Insert')).join(' '));
          for (const name of names) shortcuts.set(name, entry);
        }
        if (itemName === 'undoAction' || itemName === 'redoAction') historyItems[itemName] = entry;
        if (execution) executionItems.push(entry);
        entry.addEventListener('click', () => {
          if (entry.getAttribute('aria-disabled') === 'true') return;
          closeMenus();
          runItem(action);
        });
        list.append(entry);
      }
      button.addEventListener('click', () => (openMenu === list ? closeMenus() : showMenu(list, button)));
      button.addEventListener('mouseenter', () => {
        if (openMenu && openMenu !== list) showMenu(list, button);
      });
      list.addEventListener('keydown', (event) => menuKey(event, list, button));
      wrap.append(button, list);
      bar.append(wrap);
      menuButtons.push({ button, list });
    }
    document.addEventListener('mousedown', (event) => {
      if (openMenu && !event.target.closest('.menu')) closeMenus();
    });
  }

  function showMenu(list, button) {
    closeMenus(false);
    list.hidden = false;
    button.setAttribute('aria-expanded', 'true');
    openMenu = list;
    const first = list.querySelector('button');
    if (first) first.focus();
  }

  function closeMenus(backToGrid = true) {
    for (const { button, list } of menuButtons) {
      list.hidden = true;
      button.setAttribute('aria-expanded', 'false');
    }
    const wasOpen = openMenu !== null;
    openMenu = null;
    if (backToGrid && wasOpen) editor.focus();
  }

  function menuKey(event, list, button) {
    const entries = [...list.querySelectorAll('button')];
    const at = entries.indexOf(document.activeElement);
    const index = menuButtons.findIndex((m) => m.list === list);
    const move = (delta) => {
      const next = menuButtons[(index + delta + menuButtons.length) % menuButtons.length];
      showMenu(next.list, next.button);
    };
    switch (event.key) {
      case 'ArrowDown': entries[(at + 1) % entries.length].focus(); break;
      case 'ArrowUp': entries[(at - 1 + entries.length) % entries.length].focus(); break;
      case 'ArrowRight': move(1); break;
      case 'ArrowLeft': move(-1); break;
      case 'Escape': closeMenus(); break;
      case 'Tab': closeMenus(); break;
      case 'Enter': case ' ': document.activeElement.click(); break;
      default: {
        const letter = plainLetter(event.key.length === 1 ? event.key : '');
        const entry = entries.find((e) => e.dataset.key && (e.dataset.key === letter ||
          e.dataset.key === GREEK_KEYS[event.code]));
        if (!entry) return;
        entry.click();
      }
    }
    event.preventDefault();
    event.stopPropagation();
    void button;
  }

  function shortcutName(event) {
    let name = event.key;
    if (name.length === 1) name = name.toUpperCase();
    if (name === 'Insert') name = 'Ins';
    if (name === 'Delete') name = 'Del';
    if (event.shiftKey && name !== 'Shift') name = 'Shift+' + name;
    if (event.ctrlKey && name !== 'Control') {
      // Ctrl with a letter: the letter of the key, whichever layout is active.
      const latin = /^Key([A-Z])$/.exec(event.code);
      name = 'Ctrl+' + (latin ? (event.shiftKey ? 'Shift+' : '') + latin[1] : name);
    }
    if (event.altKey && name !== 'Alt') name = event.ctrlKey ? name.replace('Ctrl+', 'Ctrl+Alt+') : 'Alt+' + name;
    return name;
  }

  // An enabled menu item's shortcut takes the key before the grid; a disabled one's goes on to
  // the grid like any other key.
  function menuShortcut(event) {
    const entry = shortcuts.get(shortcutName(event));
    if (!entry || entry.getAttribute('aria-disabled') === 'true') return false;
    event.preventDefault();
    entry.click();
    return true;
  }

  function openMenuByKey(event) {
    if (!event.altKey || event.ctrlKey || event.key === 'Alt') return false;
    const letter = plainLetter(event.key.length === 1 ? event.key : '');
    const matching = menuButtons.filter(({ button }) => button.dataset.key &&
      (button.dataset.key === letter || button.dataset.key === GREEK_KEYS[event.code]));
    if (matching.length === 0) return false;
    event.preventDefault();
    // Two menus share one access key: each press opens the next.
    const current = matching.findIndex(({ list }) => list === openMenu);
    const next = matching[(current + 1) % matching.length];
    showMenu(next.list, next.button);
    return true;
  }

  async function runItem(action) {
    if (busy) return;
    busy = true;
    try {
      await action();
    } finally {
      busy = false;
      render();
      if (!anyWindowFocused()) editor.focus();
    }
  }

  async function simpleCommand(name, ...args) {
    const result = callJson(name, ...args);
    render();
    if (result.error) await showError(result.error);
    refreshWindows();
  }

  async function deleteLine() {
    const result = callJson('zw_delete_line');
    if (result.beep) beep();
    if (result.error) await showError(result.error);
  }

  // ---- File commands -------------------------------------------------------------------------

  const FLOW_ANSWER = { no: 0, yes: 1, cancelled: 2 };
  const FLOW = { new: 0, open: 1, save: 2, exit: 3, quickSave: 4, openExample: 5 };

  async function fileFlow(command, dropped) {
    let result = callJson('zw_start_flow', command, dropped || '');
    for (;;) {
      render();
      if (result.error) {
        await showError(result.error);
        return;
      }
      if (result.done) break;
      let answer = FLOW_ANSWER.no;
      let file = '';
      switch (result.ask) {
        case 'yesNo':
          answer = await messageBox(result.text, 'warning', YES_NO, FLOW_ANSWER.cancelled);
          break;
        case 'saveAnyway':
          answer = await messageBox(result.text, 'warning', YES_NO, FLOW_ANSWER.no);
          break;
        case 'warning':
          await showWarning(result.text);
          break;
        case 'openFile':
          file = (await chooseOpenFile()) || '';
          break;
        case 'saveFile':
          file = (await chooseSaveFile()) || '';
          break;
        default:
          return;
      }
      result = callJson('zw_answer_flow', answer, file);
    }
    for (const download of result.downloads) offerDownload(download.name, download.bytes);
    if (result.exit) {
      // A tab the user opened stays open whatever the page asks: then the work goes on, and
      // leaving asks again.
      leaving = true;
      window.close();
      setTimeout(() => { leaving = false; }, 1000);
    }
  }

  function putFile(name, bytes) {
    const pointer = core._malloc(Math.max(1, bytes.length));
    core.HEAPU8.set(bytes, pointer);
    core.ccall('zw_put_file', null, ['string', 'number', 'number'], [name, pointer, bytes.length]);
    core._free(pointer);
  }

  function chooseOpenFile() {
    return new Promise((resolve) => {
      const picker = $('openFilePicker');
      picker.value = '';
      const done = async () => {
        picker.removeEventListener('change', done);
        picker.removeEventListener('cancel', cancelled);
        const file = picker.files[0];
        if (!file) return resolve(null);
        putFile(file.name, new Uint8Array(await file.arrayBuffer()));
        resolve(file.name);
      };
      const cancelled = () => {
        picker.removeEventListener('change', done);
        picker.removeEventListener('cancel', cancelled);
        resolve(null);
      };
      picker.addEventListener('change', done);
      picker.addEventListener('cancel', cancelled);
      picker.click();
    });
  }

  function chooseSaveFile() {
    return new Promise((resolve) => {
      const dialog = $('saveDialog');
      const name = $('saveFileName');
      const finish = (value) => {
        dialog.removeEventListener('cancel', onCancel);
        $('saveDialogOk').removeEventListener('click', onOk);
        name.removeEventListener('keydown', onEnter);
        for (const b of dialog.querySelectorAll('[data-close]')) b.removeEventListener('click', onClose);
        dialog.close();
        resolve(value);
      };
      const onCancel = (event) => { event.preventDefault(); finish(null); };
      const onClose = () => finish(null);
      const onOk = () => {
        let file = name.value.trim();
        if (file === '') return;
        // A name typed without an extension gets the chosen type's.
        if (!/\.[^./\\]+$/.test(file)) file += $('saveFileType').value;
        name.value = file;
        finish(file);
      };
      const onEnter = (event) => { if (event.key === 'Enter') { event.preventDefault(); onOk(); } };
      dialog.addEventListener('cancel', onCancel);
      $('saveDialogOk').addEventListener('click', onOk);
      name.addEventListener('keydown', onEnter);
      for (const b of dialog.querySelectorAll('[data-close]')) b.addEventListener('click', onClose);
      dialog.showModal();
      name.focus();
      name.select();
    });
  }

  function offerDownload(name, latin1) {
    const bytes = Uint8Array.from(latin1, (c) => c.charCodeAt(0));
    const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  // A file dropped on the page is opened as if the open dialog had chosen it.
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', async (event) => {
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (!file || busy) return;
    putFile(file.name, new Uint8Array(await file.arrayBuffer()));
    runItem(() => fileFlow(FLOW.open, file.name));
  });

  // «Άνοιγμα στο πλέγμα» in the help's tab: a built-in example into the grid, after New's
  // question, assembled. Only the examples the page carries are taken, whoever asks.
  window.addEventListener('message', (event) => {
    const name = event.data && event.data.zorvanOpen;
    const examples = window.ZORVAN_EXAMPLES || {};
    if (typeof name !== 'string' || !Object.hasOwn(examples, name) || busy) return;
    window.focus();
    putFile(name, Uint8Array.from(examples[name], (c) => c.charCodeAt(0)));
    runItem(() => fileFlow(FLOW.openExample, name));
  });

  // ---- Grid menu dialogs ---------------------------------------------------------------------

  function modalDialog(dialog, okButton, field, onOk) {
    return new Promise((resolve) => {
      const closers = [...dialog.querySelectorAll('[data-close]')];
      const finish = (value) => {
        dialog.removeEventListener('cancel', onCancel);
        okButton.removeEventListener('click', ok);
        field.removeEventListener('keydown', onEnter);
        for (const b of closers) b.removeEventListener('click', onClose);
        dialog.close();
        resolve(value);
      };
      const onCancel = (event) => { event.preventDefault(); finish(null); };
      const onClose = () => finish(null);
      const ok = async () => {
        if (await onOk(field.value)) finish(field.value);
      };
      const onEnter = (event) => { if (event.key === 'Enter') { event.preventDefault(); ok(); } };
      dialog.addEventListener('cancel', onCancel);
      okButton.addEventListener('click', ok);
      field.addEventListener('keydown', onEnter);
      for (const b of closers) b.addEventListener('click', onClose);
      dialog.showModal();
      field.focus();
      field.select();
    });
  }

  async function insertLines() {
    const count = await modalDialog($('insertLinesDialog'), $('insertLinesOk'), $('insertLinesEdit'),
      async () => true);
    if (count !== null) await simpleCommand('zw_insert_lines', count);
  }

  function showAbout() {
    return new Promise((resolve) => {
      const dialog = $('aboutDialog');
      const closers = [...dialog.querySelectorAll('[data-close]')];
      const finish = (event) => {
        for (const b of closers) b.removeEventListener('click', finish);
        dialog.removeEventListener('cancel', finish);
        dialog.removeEventListener('close', finish);
        if (event?.type === 'cancel') event.preventDefault();  // closed here, once
        if (dialog.open) dialog.close();
        resolve();
      };
      for (const b of closers) b.addEventListener('click', finish);
      // Escape finishes at once: the close event comes a task later, after keys already typed.
      dialog.addEventListener('cancel', finish);
      dialog.addEventListener('close', finish);
      dialog.showModal();
      closers[closers.length - 1].focus();
    });
  }

  function openHelp() {
    window.open('help/index.html', 'zorvanHelp');
  }

  // ---- Assemble and Run ----------------------------------------------------------------------

  async function assemble() {
    const result = callJson('zw_assemble');
    render();
    if (result.error) await showError(result.error);
    if (result.warning) await showWarning(result.warning);
    if (result.failure) await messageBox(result.failure, 'error', [{ text: 'OK', value: 0 }], 0);
    if (result.summary) {
      const yes = await messageBox(result.summary, 'information', YES_NO, 0);
      if (yes) showMemoryWindow();
    }
    refreshWindows();
  }

  const startAddressEdit = $('startAddressEdit');
  startAddressEdit.addEventListener('input', () => {
    const at = startAddressEdit.selectionStart;
    startAddressEdit.value = startAddressEdit.value.toUpperCase();
    startAddressEdit.setSelectionRange(at, at);
  });

  function askStartAddress() {
    return modalDialog($('startAddressDialog'), $('startAddressOk'), startAddressEdit, async (text) => {
      const result = callJson('zw_accepts_start_address', text);
      if (result.error) {
        await showError(result.error);
        startAddressEdit.focus();
        return false;
      }
      return result.accept;
    });
  }

  // Lets the browser draw and take clicks between two slices of a run.
  const yieldToBrowser = (() => {
    const channel = new MessageChannel();
    const waiting = [];
    channel.port1.onmessage = () => waiting.shift()();
    return () => new Promise((resolve) => {
      waiting.push(resolve);
      channel.port2.postMessage(0);
    });
  })();

  let stopRequested = false;
  $('runStopButton').addEventListener('click', () => { stopRequested = true; });
  $('runStopWindow').addEventListener('cancel', (event) => {
    event.preventDefault();
    stopRequested = true;
  });

  async function runProgram() {
    const text = await askStartAddress();
    if (text === null) {
      callVoid('zw_cancel_run');
      return;
    }
    const started = callJson('zw_start_run', text);
    if (started.error) {
      await showError(started.error);
      return;
    }
    await runSlices();
    const finished = callJson('zw_finish_run');
    if (finished.startAddress) startAddressEdit.value = finished.startAddress;
    render();
    showRegisterWindow();
  }

  async function runSlices() {
    const stopWindow = $('runStopWindow');
    const began = performance.now();
    stopRequested = false;
    try {
      for (;;) {
        const sliceStart = performance.now();
        let running = true;
        while ((running = callNumber('zw_run_slice', SLICE_INSTRUCTIONS) === 1) &&
               performance.now() - sliceStart < SLICE_MS) {
          // one slice of the browser's time
        }
        showConsole();
        if (!running) return;
        if (!stopWindow.open && performance.now() - began >= STOP_WINDOW_DELAY_MS) {
          stopWindow.showModal();
          $('runStopButton').focus();
        }
        if (stopWindow.open) {
          $('runStopCount').textContent = 'Εντολές που εκτελέστηκαν: ' + callNumber('zw_executed_count');
        }
        await yieldToBrowser();
        if (stopRequested) {
          callVoid('zw_stop_run');
          return;
        }
      }
    } finally {
      if (stopWindow.open) stopWindow.close();
    }
  }

  // ---- The step window and its debugger ------------------------------------------------------

  const stepWindow = $('stepWindow');
  let gridEnabled = true;
  (() => {
    const body = $('stepRows').tBodies[0];
    for (let row = 0; row < 2; ++row) {
      const tr = document.createElement('tr');
      tr.setAttribute('role', 'row');
      for (let column = 0; column < 5; ++column) {
        const td = document.createElement('td');
        td.setAttribute('role', column === 0 ? 'rowheader' : 'gridcell');
        tr.append(td);
      }
      body.append(tr);
    }
  })();

  function renderStep() {
    const step = callJson('zw_step_view');
    const start = $('stepStartEdit');
    if (document.activeElement !== start) start.value = step.startAddress;
    const rows = $('stepRows').tBodies[0].rows;
    step.rows.forEach((cells, row) => cells.forEach((text, column) => {
      rows[row].cells[column].textContent = text;
    }));
    $('stepStatus').textContent = step.status;
    $('stepStatus').hidden = !step.statusVisible;
    const show = (id, visible, enabled) => {
      $(id).hidden = !visible;
      $(id).disabled = !enabled;
    };
    show('stepNextButton', step.nextVisible, step.nextEnabled);
    show('stepStopButton', step.stopVisible, step.stopEnabled);
    for (const id of ['stepContinueButton', 'stepOverButton', 'stepToCursorButton']) {
      show(id, step.nextVisible, step.nextEnabled);
    }
    show('stepBackButton', step.nextVisible, true);
    show('stepBackToBreakpointButton', step.nextVisible, true);
    // The way back to a breakpoint and the watchpoint share a row.
    $('stepBackToBreakpointButton').parentElement.hidden = !step.nextVisible;
    $('stepSentence').textContent = step.sentence;
    $('stepSentence').hidden = !step.nextVisible;
    $('stepLists').hidden = !step.nextVisible;
    recentList.show(step.recent.map((past) => [past.row !== 0 ? String(past.row) : '—', past.sentence]),
      step.recent.map((past) => past.position).join(','));
    recentPositions = step.recent.map((past) => past.position);
    pinnedList.show(step.pinned.map((cell) => [cell.address, cell.value, cell.character]), null,
      step.pinned.map((cell) => cell.changed));
    $('pinNotice').textContent = step.pinNotice;
    gridEnabled = step.gridEnabled;
    $('programGrid').classList.toggle('disabled', !gridEnabled);
    $('programGrid').setAttribute('aria-disabled', String(!gridEnabled));
    if (step.showRegisters && $('registerWindow').hidden) showToolWindow($('registerWindow'));
    render();
    refreshWindows();
  }

  function openStepWindow() {
    callVoid('zw_open_step_window');
    showToolWindow(stepWindow);
    renderStep();
    $('stepStartEdit').focus();
    $('stepStartEdit').select();
  }

  function closeStepWindow() {
    callVoid('zw_close_step_window');
    renderStep();
  }

  // A step command as the window's buttons run it: a failure goes to the error box, and the
  // keyboard stays in the window.
  async function stepCommand(work, focusNext = false) {
    if (busy) return;
    busy = true;
    const focused = document.activeElement;
    try {
      const result = await work();
      if (result && result.error) await showError(result.error);
    } finally {
      busy = false;
      renderStep();
      const next = $('stepNextButton');
      const nextReady = !next.hidden && !next.disabled;
      if (focusNext && nextReady) next.focus();
      else if (focused && stepWindow.contains(focused) && !focused.hidden && !focused.disabled) focused.focus();
      else if (nextReady) next.focus();
    }
  }

  // A list of rows in the step window, reached by Tab: the arrows, Page Up/Down, Home and End
  // choose a row (aria-activedescendant), a click chooses one too.
  function stepList(table, onEnter, onDelete) {
    const body = table.tBodies[0];
    let chosen = -1;
    let shownKey = null;
    const choose = (index, scroll = true) => {
      const rows = body.rows;
      chosen = index < 0 || rows.length === 0 ? -1 : Math.min(index, rows.length - 1);
      for (let i = 0; i < rows.length; ++i) rows[i].setAttribute('aria-selected', String(i === chosen));
      if (chosen < 0) table.removeAttribute('aria-activedescendant');
      else table.setAttribute('aria-activedescendant', rows[chosen].id);
      if (scroll && chosen >= 0) rows[chosen].scrollIntoView({ block: 'nearest' });
    };
    table.addEventListener('focus', () => { if (chosen < 0) choose(body.rows.length - 1); });
    table.addEventListener('click', (event) => {
      const tr = event.target.closest('tbody tr');
      if (tr) choose(tr.sectionRowIndex, false);
    });
    table.addEventListener('dblclick', (event) => {
      const tr = event.target.closest('tbody tr');
      if (tr) onEnter(tr.sectionRowIndex);
    });
    table.addEventListener('keydown', (event) => {
      const moves = { ArrowUp: -1, ArrowDown: 1, PageUp: -8, PageDown: 8 };
      if (event.ctrlKey || event.altKey) return;
      if (event.key in moves) choose(Math.max(0, (chosen < 0 ? body.rows.length : chosen) + moves[event.key]));
      else if (event.key === 'Home') choose(0);
      else if (event.key === 'End') choose(body.rows.length - 1);
      else if (event.key === 'Enter') { if (chosen >= 0) onEnter(chosen); }
      else if (event.key === 'Delete' && onDelete && chosen >= 0) onDelete(chosen);
      else return;
      event.preventDefault();
      event.stopPropagation();
    });
    return {
      chosen: () => chosen,
      // texts: the rows' cells; key: what names the rows (a new key shows the newest, at the
      // bottom); marked: the rows drawn as changed.
      show(texts, key, marked = []) {
        body.replaceChildren(...texts.map((cells, row) => {
          const tr = document.createElement('tr');
          tr.id = `${table.id}-${row}`;
          tr.setAttribute('role', 'row');
          tr.classList.toggle('changed', Boolean(marked[row]));
          for (const text of cells) {
            const td = document.createElement('td');
            td.setAttribute('role', 'gridcell');
            td.textContent = text;
            tr.append(td);
          }
          return tr;
        }));
        if (key !== null && key !== shownKey) {
          shownKey = key;
          if (texts.length > 0) {
            const scroller = table.parentElement;
            scroller.scrollTop = scroller.scrollHeight;
          }
          choose(chosen < 0 ? -1 : texts.length - 1, false);
        } else {
          choose(chosen, false);
        }
      },
    };
  }

  let recentPositions = [];
  const recentList = stepList($('recentSteps'), (row) => {
    if (row < recentPositions.length) stepCommand(() => callJson('zw_step_back_to', recentPositions[row]));
  });
  const unpin = (row) => {
    if (row < 0) return;
    callVoid('zw_unpin_cell', row);
    renderStep();
  };
  const pinnedList = stepList($('pinnedCells'), () => {}, unpin);
  function pinCell() {
    const field = $('pinAddressEdit');
    callVoid('zw_pin_cell', field.value);
    renderStep();
    if ($('pinNotice').textContent === '') field.value = '';
  }
  $('pinButton').addEventListener('click', pinCell);
  $('unpinButton').addEventListener('click', () => unpin(pinnedList.chosen()));
  $('pinAddressEdit').addEventListener('input', () => {
    $('pinAddressEdit').value = $('pinAddressEdit').value.toUpperCase();
  });
  $('pinAddressEdit').addEventListener('keydown', (event) => {
    if (event.key !== 'Enter') return;
    event.preventDefault();
    event.stopPropagation();
    pinCell();
  });
  $('hitCountEdit').addEventListener('input', () => {
    const every = Number.parseInt($('hitCountEdit').value, 10);
    const row = Number($('hitCountEdit').dataset.row);
    if (Number.isFinite(every) && row !== 0) callVoid('zw_set_breakpoint_every', row, every);
  });
  $('hitCountEdit').addEventListener('change', () => render());

  const stepRun = (kind) => stepCommand(async () => {
    const begun = callJson('zw_step_run', kind, $('watchAddressEdit').value, $('watchValueEdit').value);
    if (begun.error || !begun.running) return begun;
    await runSlices();
    return callJson('zw_finish_run');
  });

  $('stepStartButton').addEventListener('click', () =>
    stepCommand(() => callJson('zw_step_start', $('stepStartEdit').value), true));
  $('stepNextButton').addEventListener('click', () => stepCommand(() => callJson('zw_step_next')));
  $('stepStopButton').addEventListener('click', () => stepCommand(() => callVoid('zw_step_stop')));
  $('stepBackButton').addEventListener('click', () => stepCommand(() => callJson('zw_step_back')));
  $('stepBackToBreakpointButton').addEventListener('click', () =>
    stepCommand(() => callJson('zw_step_back_to_breakpoint')));
  for (const id of ['watchAddressEdit', 'watchValueEdit']) {
    $(id).addEventListener('input', () => { $(id).value = $(id).value.toUpperCase(); });
  }
  $('stepContinueButton').addEventListener('click', () => stepRun(0));
  $('stepOverButton').addEventListener('click', () => stepRun(1));
  $('stepToCursorButton').addEventListener('click', () => stepRun(2));
  $('stepStartEdit').addEventListener('input', () => {
    $('stepStartEdit').value = $('stepStartEdit').value.toUpperCase();
  });
  // Every button has its key, as on the desktop; the arrows and Page Up/Down move the grid's
  // cursor while stepping.
  const STEP_KEYS = {
    F11: 'stepNextButton', 'Shift+F5': 'stepStopButton', F5: 'stepContinueButton',
    F10: 'stepOverButton', F4: 'stepToCursorButton', 'Ctrl+Z': 'stepBackButton',
    'Ctrl+Shift+Z': 'stepBackToBreakpointButton',
  };
  const CURSOR_ROWS = { ArrowUp: -1, ArrowDown: 1, PageUp: -10, PageDown: 10 };
  stepWindow.addEventListener('keydown', (event) => {
    if (busy) return;
    const button = $(STEP_KEYS[shortcutName(event)] || '');
    if (button) {
      event.preventDefault();
      event.stopPropagation();
      if (!button.hidden && !button.disabled) button.click();
      return;
    }
    if (event.key in CURSOR_ROWS && event.target.tagName !== 'INPUT' &&
        callNumber('zw_step_move_cursor', CURSOR_ROWS[event.key])) {
      event.preventDefault();
      render();
      return;
    }
    if (event.key !== 'Enter') return;
    if (event.target === $('stepStartEdit')) {
      event.preventDefault();
      $('stepStartButton').click();
    } else if (event.target.tagName !== 'BUTTON' && !$('stepNextButton').hidden &&
               !$('stepNextButton').disabled) {
      event.preventDefault();
      $('stepNextButton').click();
    }
  });

  // ---- Windows beside the main window --------------------------------------------------------

  // Windows come to the front by their stacking order: moving one in the document would swallow
  // the click that raised it.
  let frontmost = 10;
  function toFront(window_) {
    if (Number(window_.style.zIndex) !== frontmost) window_.style.zIndex = String(++frontmost);
  }

  function showToolWindow(window_) {
    window_.hidden = false;
    toFront(window_);
    refreshWindows();
  }

  function hideToolWindow(window_) {
    window_.hidden = true;
    if (window_.id === 'stepWindow') closeStepWindow();
    editor.focus();
  }
  for (const close of document.querySelectorAll('[data-hide]')) {
    close.addEventListener('click', () => hideToolWindow(close.closest('.tool-window')));
  }
  for (const window_ of document.querySelectorAll('.tool-window')) {
    window_.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && !busy) hideToolWindow(window_);
      if (menuShortcut(event)) return;
    });
    window_.addEventListener('mousedown', () => toFront(window_));
    moveByTitleBar(window_);
  }

  // A moved window's title bar stays within the page, also when the page narrows later.
  function placeWithin(window_, left, top) {
    const bar = window_.querySelector('.title-bar');
    window_.style.left = `${Math.max(0, Math.min(left, innerWidth - 60))}px`;
    const y = `${Math.max(0, Math.min(top, innerHeight - bar.offsetHeight))}px`;
    window_.style.top = y;
    window_.style.setProperty('--top', y);  // the step window's height keeps to the page
    window_.style.right = 'auto';
  }
  addEventListener('resize', () => {
    for (const window_ of document.querySelectorAll('.tool-window')) {
      if (window_.style.right !== 'auto') continue;
      placeWithin(window_, parseFloat(window_.style.left), parseFloat(window_.style.top));
    }
  });

  // A window moves by its title bar, as on the desktop.
  function moveByTitleBar(window_) {
    const bar = window_.querySelector('.title-bar');
    bar.addEventListener('pointerdown', (event) => {
      if (event.button !== 0 || event.target.closest('button')) return;
      event.preventDefault();  // no text selected on the way, and no mousedown to raise it
      toFront(window_);
      const box = window_.getBoundingClientRect();
      const dx = event.clientX - box.left;
      const dy = event.clientY - box.top;
      const move = (e) => placeWithin(window_, e.clientX - dx, e.clientY - dy);
      bar.setPointerCapture(event.pointerId);
      bar.addEventListener('pointermove', move);
      bar.addEventListener('lostpointercapture', () => bar.removeEventListener('pointermove', move),
        { once: true });
    });
  }

  function showConsole() {
    const consoleView = callJson('zw_console_view');
    const window_ = $('consoleWindow');
    if (consoleView.show && window_.hidden) showToolWindow(window_);
    const text = $('consoleText');
    if (text.textContent !== consoleView.text) {
      text.textContent = consoleView.text;
      text.scrollTop = text.scrollHeight;
    }
    if (consoleView.focus) $('consoleEdit').focus();
  }

  $('consoleEdit').addEventListener('keydown', async (event) => {
    if (event.key !== 'Enter') return;
    event.preventDefault();
    const result = callJson('zw_enter_accumulator', $('consoleEdit').value);
    if (result.error) await showError(result.error);
    showConsole();
  });

  // The register window: PC, the seven status bits, AC, XR, YR, SP, in tab order.
  const FIELD_NAMES = [
    'PC', 'Σημαία N — αρνητικό αποτέλεσμα', 'Σημαία V — υπερχείλιση',
    'Σημαία B — εντολή διακοπής BRK', 'Σημαία D — δεκαδική λειτουργία',
    'Σημαία I — απενεργοποίηση διακοπών', 'Σημαία Z — μηδενικό αποτέλεσμα',
    'Σημαία C — κρατούμενο', 'AC', 'XR', 'YR', 'SP',
  ];
  const registerFields = [];
  (() => {
    // The letters stand over their fields; the "-" bit has none.
    const bits = $('bitFields');
    let field = 1;
    for (const letter of 'NV-BDIZC') {
      const slot = document.createElement('div');
      slot.className = 'bit';
      const name = document.createElement('span');
      name.textContent = letter;
      slot.append(name);
      if (letter !== '-') {
        const input = document.createElement('input');
        input.dataset.field = String(field++);
        input.maxLength = 1;
        slot.append(input);
      }
      bits.append(slot);
    }
    for (const input of $('registerWindow').querySelectorAll('input[data-field]')) {
      const field = Number(input.dataset.field);
      input.setAttribute('aria-label', FIELD_NAMES[field]);
      input.autocomplete = 'off';
      registerFields[field] = input;
      const leave = async () => {
        if (busy) return;
        const result = callJson('zw_exit_register_field', field, input.value);
        const problem = result.error || result.warning;
        if (problem) {
          await guardedWindowBox(() => (result.error ? showError : showWarning)(problem));
          input.focus();
        }
      };
      input.addEventListener('change', leave);
      input.addEventListener('keydown', (event) => {
        if (event.key === 'Enter') { event.preventDefault(); input.blur(); }
      });
      input.addEventListener('input', () => {
        if (field === 0 || field >= 8) input.value = input.value.toUpperCase();
      });
    }
  })();

  async function guardedWindowBox(show) {
    busy = true;
    try { await show(); } finally { busy = false; }
  }

  function showRegisterWindow() {
    showToolWindow($('registerWindow'));
    registerFields[0].focus();
  }

  // The memory window: sixteen lines of sixteen bytes from the start address.
  const memoryRows = $('memoryRows');
  let memoryStart = '0000';
  function buildMemoryGrid() {
    const header = document.createElement('tr');
    for (let column = 0; column < 18; ++column) {
      const th = document.createElement('th');
      th.setAttribute('role', 'columnheader');
      th.textContent = column === 0 ? '' : column === 17 ? '' : (column - 1).toString(16).toUpperCase();
      header.append(th);
    }
    memoryRows.append(header);
    for (let line = 0; line < 16; ++line) {
      const tr = document.createElement('tr');
      tr.setAttribute('role', 'row');
      for (let column = 0; column < 18; ++column) {
        const td = document.createElement('td');
        td.setAttribute('role', column === 0 ? 'rowheader' : 'gridcell');
        if (column >= 1 && column <= 16) {
          const input = document.createElement('input');
          input.maxLength = 2;
          input.dataset.line = String(line);
          input.dataset.column = String(column);
          input.addEventListener('keydown', (event) => memoryCellKey(event, input));
          td.append(input);
        }
        tr.append(td);
      }
      memoryRows.append(tr);
    }
  }

  async function memoryCellKey(event, input) {
    if (event.key !== 'Enter') return;
    event.preventDefault();
    const line = Number(input.dataset.line);
    const column = Number(input.dataset.column);
    const address = memoryRows.children[line + 1].children[0].textContent;
    const result = callJson('zw_store_memory_cell', address, column, input.value.toUpperCase());
    if (result.error) await guardedWindowBox(() => showError(result.error));
    if (result.warning) await guardedWindowBox(() => showWarning(result.warning));
    if (result.zero) input.value = '00';
    showMemory();
    if (!result.error) {
      const next = memoryRows.children[line + 1].children[result.next].firstChild;
      if (next) { next.focus(); next.select(); }
    }
  }

  function showMemory() {
    const dump = callJson('zw_memory', memoryStart);
    if (dump.error) return;
    dump.lines.forEach((line, index) => {
      const cells = memoryRows.children[index + 1].children;
      cells[0].textContent = line.address;
      line.bytes.forEach((byte, i) => {
        const input = cells[i + 1].firstChild;
        if (document.activeElement !== input) input.value = byte;
        input.setAttribute('aria-label', line.address + ' +' + i.toString(16).toUpperCase());
      });
      cells[17].textContent = line.characters;
    });
    const marked = new Set(dump.marked);
    for (let offset = 0; offset < 256; ++offset) {
      const input = memoryRows.children[1 + (offset >> 4)].children[1 + (offset & 15)].firstChild;
      input.classList.toggle('changed', marked.has(offset));
    }
  }

  $('memoryStart').addEventListener('keydown', async (event) => {
    if (event.key !== 'Enter') return;
    event.preventDefault();
    const text = $('memoryStart').value;
    const result = callJson('zw_check_memory_start', text);
    if (result.warning) {
      await guardedWindowBox(() => showWarning(result.warning));
      $('memoryStart').focus();
      return;
    }
    memoryStart = text;
    showMemory();
  });

  function showMemoryWindow() {
    showToolWindow($('memoryWindow'));
    $('memoryStart').focus();
  }

  function refreshWindows() {
    if (!$('registerWindow').hidden) {
      const registers = callJson('zw_registers');
      registers.fields.forEach((text, field) => {
        if (document.activeElement !== registerFields[field]) registerFields[field].value = text;
        registerFields[field].classList.toggle('changed', registers.marked[field]);
      });
      $('returnAddressField').value = registers.returnAddress;
    }
    if (!$('memoryWindow').hidden) showMemory();
    showConsole();
  }

  // ---- Printing ------------------------------------------------------------------------------

  function printListing() {
    const pages = callJson('zw_listing', 60, 90);
    const listing = $('printListing');
    listing.replaceChildren();
    for (const page of pages) {
      const pre = document.createElement('pre');
      pre.className = 'print-page';
      pre.textContent = page.heading.join('\n') + '\n\n' + page.lines.join('\n');
      listing.append(pre);
    }
    window.print();
  }

  // ---- Keeping the work ----------------------------------------------------------------------

  // Kept a moment after each change, so that a burst of keys on a long program writes once; and
  // at once when the page is hidden or left.
  let keepTimer = 0;
  function keepWork() {
    if (keepTimer === 0) keepTimer = setTimeout(keepWorkNow, KEEP_DELAY_MS);
  }
  function keepWorkNow() {
    clearTimeout(keepTimer);
    keepTimer = 0;
    try {
      localStorage.setItem(STORAGE_KEY, call('zw_saved_work'));
    } catch (e) {
      // Storage full or refused (a private window): the work stays in the page.
    }
  }
  window.addEventListener('pagehide', () => keepWorkNow());
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') keepWorkNow();
  });

  window.addEventListener('beforeunload', (event) => {
    keepWorkNow();
    if (leaving || !view || !view.changed || view.contentCount === 0) return;
    event.preventDefault();
    event.returnValue = '';
  });

  // Keys that reach the page outside the grid and the windows: the menus' shortcuts still work.
  document.addEventListener('keydown', (event) => {
    if (busy || event.defaultPrevented) return;
    if (event.target === editor || event.target.closest('dialog, .tool-window')) return;
    if (menuShortcut(event) || openMenuByKey(event)) return;
  });

  // ---- Start ---------------------------------------------------------------------------------

  ZorvanCore().then((module) => {
    core = module;
    buildMenus();
    buildMemoryGrid();
    const checks = keptChecks();
    SLIP_CHECKS.forEach(([name], kind) => callVoid('zw_set_slip_check', kind, checks[name] === false ? 0 : 1));
    let saved = null;
    try { saved = localStorage.getItem(STORAGE_KEY); } catch (e) { saved = null; }
    if (saved) callNumber('zw_restore_work', saved);
    render();
    editor.focus();
    document.body.dataset.ready = 'true';
    // For the browser tests and the benchmark: the same calls the page makes.
    window.zorvan = { call, callJson, callNumber, render };
  });
})();
