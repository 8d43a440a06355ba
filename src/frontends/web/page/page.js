// The page around the game: loads the scenario's files, keeps the roster in
// the browser's storage, shows the frames the game sends, and turns the
// keyboard, the input method and the on-screen pad into the game's events.
// The game (kestrun.js) calls the functions of Module.kestrun.
'use strict';

(function () {
  const WIDTH = 640;
  const HEIGHT = 432;
  const address = new URLSearchParams(location.search);
  const canvas = document.getElementById('canvas');
  const context = canvas.getContext('2d');
  const keyboard = document.getElementById('keyboard');
  const pad = document.getElementById('pad');
  const statusLine = document.getElementById('status');

  // Each page keeps its rosters in a store of its own, named after its folder.
  const savesFolder =
    '/saves' + location.pathname.replace(/[^/]*$/, '').replace(/[^A-Za-z0-9]+/g, '_');
  let scenario = null;  // scenario.json: the letter, the title and the files

  // What the page tells the player (and the tests read).
  const state = {
    ready: false,          // the game runs
    frames: 0,             // frames shown
    waitingForKey: false,  // the game waits for the player, with no time limit
    saves: 0,              // rosters stored in the browser
    problem: '',           // the last message shown
  };

  function tell(message) {
    state.problem = message;
    statusLine.textContent = message;
  }

  // ---- Events from the player to the game ----
  // 'c' + a key code (the pad), 'k' + Shift flag + a browser key name,
  // 't' + text.
  const events = [];
  let wake = null;

  // Said when the game has ended and its roster is stored; the next key
  // clears it.
  const SAVED = 'The characters are stored in this browser; the game starts again at the title.';

  function push(event) {
    if (state.problem === SAVED) tell('');
    events.push(event);
    if (wake) wake();
  }

  function waitForEvent(timeoutMs) {
    if (events.length > 0) return Promise.resolve();
    state.waitingForKey = timeoutMs < 0;
    return new Promise((resolve) => {
      let timer = null;
      wake = () => {
        if (timer !== null) clearTimeout(timer);
        wake = null;
        state.waitingForKey = false;
        resolve();
      };
      if (timeoutMs >= 0) timer = setTimeout(wake, timeoutMs);
    });
  }

  keyboard.addEventListener('keydown', (e) => {
    if (e.isComposing || e.keyCode === 229) return;  // the input method has it
    if (e.ctrlKey || e.metaKey || e.altKey) return;
    // Characters come as input events; named keys (arrows, Enter...) as
    // names, which the game maps as the window does.
    if (e.key.length > 1 && e.key !== 'Tab' && !/^F\d+$/.test(e.key)) {
      e.preventDefault();
      push('k' + (e.shiftKey ? '1' : '0') + e.key);
    }
  });
  keyboard.addEventListener('input', (e) => {
    if (e.isComposing) return;
    if (e.data) push('t' + e.data);
    keyboard.value = '';
  });
  keyboard.addEventListener('compositionend', (e) => {
    if (e.data) push('t' + e.data);
    keyboard.value = '';
  });
  const focusKeyboard = () => keyboard.focus({ preventScroll: true });
  canvas.addEventListener('pointerdown', (e) => {
    e.preventDefault();
    focusKeyboard();
  });

  // ---- The frames ----
  function showFrame(rgba, width, height) {
    context.putImageData(new ImageData(new Uint8ClampedArray(rgba), width, height), 0, 0);
    state.frames++;
  }

  // The largest whole multiple of the game's pixels that fits the window, in
  // device pixels so that every game pixel covers the same number of them. A
  // phone, where that would leave the game at a fraction of the screen's
  // width (at most one device pixel per game pixel), gets the largest size
  // that fits instead.
  function fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    const reserved = document.getElementById('bar').offsetHeight +
                     statusLine.offsetHeight + (pad.hidden ? 0 : pad.offsetHeight) + 8;
    const room = Math.min(window.innerWidth * ratio / WIDTH,
                          Math.max(window.innerHeight - reserved, 0) * ratio / HEIGHT);
    const scale = room >= 2 ? Math.floor(room) : room;
    canvas.style.width = (WIDTH * scale / ratio) + 'px';
    canvas.style.height = (HEIGHT * scale / ratio) + 'px';
  }
  window.addEventListener('resize', fitCanvas);

  // ---- The on-screen pad, drawn from the game's pad model ----
  function wantsPad() {
    return address.get('pad') === '1' || navigator.maxTouchPoints > 0 ||
           window.matchMedia('(pointer: coarse)').matches;
  }

  function place(element, cell) {
    element.style.gridRow = String(cell.row + 1);
    element.style.gridColumn = (cell.column + 1) + ' / span ' + cell.width;
  }

  function padButton(button, press) {
    const element = document.createElement('button');
    element.type = 'button';
    element.textContent = button.label;
    element.dataset.code = String(button.code);
    place(element, button);
    element.addEventListener('mousedown', (e) => e.preventDefault());  // the focus stays
    element.addEventListener('click', press);
    return element;
  }

  function buildPad() {
    const layout = JSON.parse(UTF8ToString(Module._kestrun_pad_layout()));
    pad.style.gridTemplateColumns = 'repeat(' + layout.columns + ', 1fr)';
    for (const button of layout.buttons) {
      pad.appendChild(padButton(button, () => push('c' + button.code)));
    }
    const field = document.createElement('input');
    field.type = 'text';
    field.id = 'pad-name';
    field.placeholder = layout.field.hint;
    field.autocomplete = 'off';
    place(field, layout.field);
    const submit = padButton(layout.field.submit, () => {
      if (field.value) push('t' + field.value);
      push('c' + layout.field.submit.code);
      field.value = '';
    });
    submit.id = 'pad-submit';
    pad.appendChild(field);
    pad.appendChild(submit);
    pad.hidden = false;
    fitCanvas();
  }

  // ---- The rosters in the browser's storage ----
  let storing = Promise.resolve();
  let storeFailed = false;

  // Writes the saves folder to IndexedDB, after any store still under way.
  function store() {
    storing = storing.then(() => new Promise((resolve) => {
      FS.syncfs(false, (error) => {
        storeFailed = !!error;
        if (error) tell('The characters could not be stored in this browser: ' + error);
        else state.saves++;
        resolve();
      });
    }));
    return storing;
  }

  // The game writes its roster to a new file and renames it over the old
  // one; whatever changes in the saves folder is stored at once.
  function storeAfterChanges() {
    const inSaves = (path) => String(path).startsWith(savesFolder + '/');
    for (const name of ['rename', 'unlink']) {
      const original = FS[name];
      FS[name] = function (path, target) {
        const result = original.apply(this, arguments);
        if (inSaves(path) || (name === 'rename' && inSaves(target))) store();
        return result;
      };
    }
  }

  function rosterName() {
    return scenario.letter + '-C.DAT';
  }

  function downloadRoster() {
    const path = savesFolder + '/' + rosterName();
    if (!FS.analyzePath(path).exists) {
      tell('There is no roster yet: it is written when the game saves.');
      return;
    }
    const blob = new Blob([FS.readFile(path)], { type: 'application/octet-stream' });
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = rosterName();
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  // A roster file from the player's disk replaces the saved one only when the
  // game would accept it; the game then starts again with it.
  async function loadRoster(file) {
    const trial = savesFolder + '/loading.tmp';
    FS.writeFile(trial, new Uint8Array(await file.arrayBuffer()));
    const letter = stringToNewUTF8(scenario.letter);
    const path = stringToNewUTF8(trial);
    const problem = UTF8ToString(Module._kestrun_roster_problem(letter, path));
    Module._free(letter);
    Module._free(path);
    if (problem) {
      FS.unlink(trial);
      tell(file.name + ': ' + problem + '. The saved roster is unchanged.');
      return;
    }
    FS.rename(trial, savesFolder + '/' + rosterName());
    await storing;
    // The game starts again with the roster; a replay's keys are not typed again.
    const next = new URL(location.href);
    next.searchParams.delete('keys');
    location.replace(next.href);
  }

  function stringToNewUTF8(text) {
    const size = lengthBytesUTF8(text) + 1;
    const pointer = Module._malloc(size);
    stringToUTF8(text, pointer, size);
    return pointer;
  }

  document.getElementById('download').addEventListener('click', downloadRoster);
  document.getElementById('load-file').addEventListener('change', (e) => {
    const file = e.target.files[0];
    e.target.value = '';
    if (file) loadRoster(file).catch((error) => tell('The roster cannot be loaded: ' + error));
  });

  // ---- Start-up ----
  async function fetchBytes(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(url + ': ' + response.status + ' ' + response.statusText);
    return new Uint8Array(await response.arrayBuffer());
  }

  async function loadScenario() {
    const response = await fetch('scenario.json');
    if (!response.ok) throw new Error('scenario.json: ' + response.status);
    scenario = await response.json();
    FS.mkdir('/scenario');
    await Promise.all(scenario.files.map(async (name) => {
      FS.writeFile('/scenario/' + name, await fetchBytes('scenario/' + encodeURIComponent(name)));
    }));
    if (scenario.title) document.title = scenario.title + ' - KESTRUN';
    document.getElementById('hint').textContent =
      'At the title, type ' + scenario.letter + ' and Enter.';
  }

  function loadSaves() {
    FS.mkdir(savesFolder);
    FS.mount(FS.filesystems.IDBFS, {}, savesFolder);
    return new Promise((resolve, reject) => {
      FS.syncfs(true, (error) => (error ? reject(error) : resolve()));
    });
  }

  const settings = { saves: savesFolder };
  window.Module = {
    canvas: canvas,
    kestrun: {
      state: state,
      showFrame: showFrame,
      takeEvent: () => (events.length > 0 ? events.shift() : null),
      waitForEvent: waitForEvent,
      option: (name) => (name in settings ? settings[name] : address.get(name)),
      tell: tell,
      pending: () => events.length,
      // The game ended (the town's 0, the camp's save) and starts again.
      savesSettled: () => storing.then(() => {
        if (!storeFailed) tell(SAVED);
      }),
      store: store,
    },
    preRun: [() => {
      Module.addRunDependency('scenario');
      Promise.all([loadScenario(), loadSaves()]).then(() => {
        storeAfterChanges();
        Module.removeRunDependency('scenario');
      }, (error) => tell('The game cannot start: ' + error));
    }],
    onRuntimeInitialized: () => {
      state.ready = true;
      if (wantsPad()) buildPad();
      focusKeyboard();
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
  };
  fitCanvas();
  focusKeyboard();
})();
