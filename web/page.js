'use strict';
// The page around the module: one live run in the canvas at a time (each in
// a fresh instance of the module, so a run starts as the program does), the
// files it is given, its downloads and its links. Headless runs, for the
// check and for anyone curious, go through ballpitRun.

const kLinkLimit = 8192;
const kLinkPrefix = '#scene=';
const $ = (id) => document.getElementById(id);

function show(text) {
  $('status').textContent = text;
}

// One instance of the module running the program with `args`; `files` maps
// paths in its file system to their bytes or text. Resolves once main has
// returned (a live run keeps going on animation frames) with the instance
// and what it printed; a line on standard error that is the program's own
// ("ballpit: ...") says main refused its input.
async function runModule(args, files, extra) {
  const out = [];
  const errors = [];
  const module = await createBallpit(Object.assign({
    arguments: args,
    preRun: [(m) => {
      for (const [path, data] of Object.entries(files)) {
        m.FS.mkdirTree(path.replace(/\/[^/]*$/, '') || '/');
        m.FS.writeFile(path, data);
      }
    }],
    print: (line) => { out.push(line); console.log(line); if (extra && extra.onLine) extra.onLine(line); },
    // Emscripten's own notices and the program's reasons: shown, not errors.
    printErr: (line) => { errors.push(line); console.log(line); },
    onAbort: (what) => console.error('ballpit: the module stopped: ' + what),
  }, extra || {}));
  return { module, out, errors, refused: errors.filter((l) => l.startsWith('ballpit: ')) };
}

// For the check: a headless run, e.g. ['--replay', 'x.rec', '--headless']
// with {'/x.rec': URL}; resolves with the lines printed.
window.ballpitRun = async function (args, urls) {
  const files = {};
  for (const [path, url] of Object.entries(urls || {})) {
    files[path] = new Uint8Array(await (await fetch(url)).arrayBuffer());
  }
  const run = await runModule(args, files);
  return run.out.concat(run.errors);
};

let live = null;
// The instance whose run is being recorded, and what the latest live run
// that was no replay started from: a recording starts that afresh.
let recorded = null;
let lastStart = { args: [], files: {} };
// The bytes of the latest recording, also for the check.
let lastRecording = null;

function download(name, data) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([data], { type: 'application/octet-stream' }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
}

function worldScene() {
  return live ? live.ccall('ballpitWorldScene', 'string', [], []) : '';
}

// A fresh canvas for each run: a WebGL context belongs to the instance that
// made it.
function freshCanvas() {
  const canvas = document.createElement('canvas');
  canvas.id = 'canvas';
  canvas.width = 800;
  canvas.height = 600;
  canvas.tabIndex = 0;
  $('canvas').replaceWith(canvas);
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());
  canvas.addEventListener('dragover', (e) => e.preventDefault());
  canvas.addEventListener('drop', (e) => {
    e.preventDefault();
    if (e.dataTransfer.files.length) openFile(e.dataTransfer.files[0]);
  });
  canvas.focus();
  return canvas;
}

function fillPresets(module) {
  const select = $('preset');
  if (select.options.length > 1) return;
  for (const name of module.FS.readdir('/scenes').filter((n) => n.endsWith('.scene')).sort()) {
    const option = document.createElement('option');
    option.value = option.textContent = name.replace(/\.scene$/, '');
    if (option.value !== 'start') select.appendChild(option);
  }
}

// Starts a live run; when the program refuses what it was given, shows its
// reason and starts the starting scene instead.
async function startLive(args, files) {
  // A recording is ended, and offered, rather than lost.
  if (live && live === recorded) live.ccall('ballpitEnd', null, [], []);
  else if (live) live.ccall('ballpitLeave', null, [], []);
  live = null;
  if (!args.includes('--replay')) lastStart = { args: args.filter((a) => a !== '--record'), files: files || {} };
  const run = await runModule(args, files || {}, {
    canvas: freshCanvas(),
    onStats: (caption, overlay) => { $('stats').textContent = caption + (overlay ? '\n\n' + overlay : ''); },
    onLine: (line) => {
      const saved = /^saved: (.*)$/.exec(line);
      if (saved && live) download(saved[1].replace(/.*\//, ''), live.FS.readFile(saved[1]));
      if (/^(replay|recorded): /.test(line)) show(line);
    },
    onRecorded: (bytes) => {
      lastRecording = bytes;
      recorded = null;
      $('record').textContent = kRecordLabel;
      download('ballpit.rec', bytes);
    },
    onEnd: () => {
      if (!/^(replay|recorded): /.test($('status').textContent)) show('The run has ended: choose a scene to start again.');
    },
  });
  if (run.refused.length) {
    show(run.refused.join('\n').replace(/^ballpit: /gm, ''));
    if (args.length) return startLive([]);
    return;
  }
  live = run.module;
  if (args.includes('--record')) {
    recorded = live;
    $('record').textContent = 'Stop recording and download it';
  }
  fillPresets(live);
}

// A fresh run of the latest scene, recorded until the button is pressed
// again or the run ends; the recording then downloads as a .rec.
const kRecordLabel = $('record').textContent;
function record() {
  // Space, the well, must not press it again.
  $('record').blur();
  if (live && live === recorded) {
    live.ccall('ballpitEnd', null, [], []);
    return;
  }
  show('');
  startLive(lastStart.args.concat(['--record', 'ballpit.rec']), lastStart.files);
}

async function openFile(file) {
  const name = '/files/' + file.name.replace(/[^\w.-]/g, '_');
  const data = new Uint8Array(await file.arrayBuffer());
  show('');
  if (/\.rec$/i.test(file.name)) startLive(['--replay', name], { [name]: data });
  else startLive(['--scene', name], { [name]: data });
}

// The link's code: the scene's text deflated by the browser, in base64url.
async function encodeLink(text) {
  const stream = new Blob([text]).stream().pipeThrough(new CompressionStream('deflate'));
  const bytes = new Uint8Array(await new Response(stream).arrayBuffer());
  let binary = '';
  for (const b of bytes) binary += String.fromCharCode(b);
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

async function decodeLink(code) {
  if (code.length > kLinkLimit) throw new Error('the link is over ' + kLinkLimit + ' characters');
  if (!/^[A-Za-z0-9_-]*$/.test(code)) throw new Error('the link holds characters base64url has not');
  const binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
  const bytes = Uint8Array.from(binary, (c) => c.charCodeAt(0));
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate'));
  try {
    return await new Response(stream).text();
  } catch (e) {
    throw new Error('the link is damaged: its data does not inflate');
  }
}

async function share() {
  const text = worldScene();
  const link = location.href.replace(/#.*$/, '') + kLinkPrefix + await encodeLink(text);
  if (link.length > kLinkLimit) {
    show('This world is too large for a link (' + link.length + ' characters, the limit is ' + kLinkLimit +
         '): here it is as a .scene file instead.');
    download('ballpit.scene', text);
    return;
  }
  history.replaceState(null, '', link);
  try {
    await navigator.clipboard.writeText(link);
    show('The link is in the address bar and copied.');
  } catch (e) {
    show('The link is in the address bar.');
  }
}

// What the address asks for: a world in the link, a preset by name, or the
// starting scene.
async function startFromAddress() {
  if (location.hash.startsWith(kLinkPrefix)) {
    const path = '/files/link.scene';
    let text;
    try {
      text = await decodeLink(location.hash.slice(kLinkPrefix.length));
    } catch (e) {
      show('link: ' + (e.message || e) + '; starting the starting scene.');
      return startLive([]);
    }
    return startLive(['--scene', path], { [path]: text });
  }
  const name = new URLSearchParams(location.search).get('scene');
  return startLive(name ? ['--scene', name] : []);
}

$('preset').addEventListener('change', (e) => {
  show('');
  startLive(e.target.value ? ['--scene', e.target.value] : []);
});
$('file').addEventListener('change', (e) => { if (e.target.files.length) openFile(e.target.files[0]); });
$('save').addEventListener('click', () => download('ballpit.scene', worldScene()));
$('share').addEventListener('click', share);
$('record').addEventListener('click', record);
// The keys the program binds must not scroll the page, reload it or go back.
window.addEventListener('keydown', (e) => {
  if (e.target.tagName !== 'INPUT' && (e.key === ' ' || e.key === 'F5' || e.key === 'Backspace')) e.preventDefault();
});

if (!new URLSearchParams(location.search).has('idle')) startFromAddress();
