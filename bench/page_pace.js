// The page's pace in play, for `make bench` (bench/page_pace.py): one headless
// browser loads the site, served here on 127.0.0.1, starts the game as a player does, moves the
// creature as the desktop bench does, and times the frames for a while.
//
// The game's waits reach the page as setTimeout calls (Emscripten's sleep), so
// every call is logged before the page loads: the time asked, when it was made
// and when its callback ran. A frame wait asks 25 ms or more (30 less the
// event time); anything the game hands the browser within a frame asks 0.
//
//   node page_pace.js --browser chromium|firefox --site DIR [--seconds 20]
//                     [--check-frames]
//
// Prints one line of JSON: the drawing context the page asked for, and per
// frame of play [period, own work, of which zero-length yields, late wake-up,
// how many yields, how many pictures put into a 2D canvas], in milliseconds.
// The statistics are page_pace.py's. With --check-frames it fails unless
// frames of play were seen, none of them handed the browser its turn before
// the frame's own wait, and on a 2D canvas each put its picture there exactly
// once: the check of the web tests that the page plays the way that keeps
// the desktop's pace, and still shows every frame.
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');
// The pinned module of the browser tests (tests/web/package.json).
const puppeteer = require(path.join(__dirname, '../tests/web/node_modules/puppeteer-core'));

const BROWSERS = {
  chromium: {browser: 'chrome', executablePath: '/usr/bin/chromium', args: ['--no-sandbox']},
  // Firefox rounds the page's clock to a millisecond unless told otherwise.
  firefox: {browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
            extraPrefsFirefox: {'privacy.reduceTimerPrecision': false}},
};
const FRAME_WAIT_MIN_MS = 25;
const START_TIMEOUT_MS = 60000;
const SETTLE_MS = 2000;
// The desktop bench's moves (tests/vomba_desktop/values.py): against the
// top-left clamp, to the serve, then to where the creature returns every ball.
const SERVE_MOUSE = [180, 195];
const PARK_MOUSE = [80, 195];

const TYPES = {'.html': 'text/html', '.css': 'text/css', '.js': 'text/javascript',
               '.wasm': 'application/wasm', '.png': 'image/png', '.json': 'application/json',
               '.webmanifest': 'application/manifest+json'};

// The site's own files and nothing else, as a static server gives them.
function serve(site) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).slice(1) ||
                 'index.html';
    const file = path.join(site, path.normalize(name));
    if (!file.startsWith(site + path.sep) || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': TYPES[path.extname(file)] ||
                                             'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((ready) => server.listen(0, '127.0.0.1', () => ready(server)));
}

function instruments() {
  const realTimeout = window.setTimeout.bind(window);
  const timers = window.vombaTimers = [];  // [asked ms, called at, fired at]
  window.setTimeout = function (callback, ms, ...rest) {
    if (typeof callback !== 'function') return realTimeout(callback, ms, ...rest);
    const timer = [Number(ms) || 0, performance.now(), 0];
    timers.push(timer);
    return realTimeout(function (...args) {
      timer[2] = performance.now();
      return callback.apply(this, args);
    }, ms, ...rest);
  };
  // A picture put into a 2D canvas is logged among the timers, asking -1 ms.
  const putImageData = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    timers.push([-1, performance.now(), 0]);
    return putImageData.apply(this, args);
  };
  const getContext = HTMLCanvasElement.prototype.getContext;
  // The kind the game's canvas was given: a renderer may ask for one in vain.
  HTMLCanvasElement.prototype.getContext = function (type, ...rest) {
    const context = getContext.call(this, type, ...rest);
    if (context && this.id === 'canvas') window.vombaContext = type;
    return context;
  };
}

// Frames between two successive frame waits with only zero-length yields
// between them; any other wait (a pause, the end of the match) ends a run.
function framesOf(timers) {
  const frames = [];
  let wait = null, yields = 0, count = 0, puts = 0;
  for (const [asked, called, fired] of timers) {
    if (asked >= FRAME_WAIT_MIN_MS) {
      if (wait && wait[2] > 0) {
        frames.push([called - wait[1], called - wait[2], yields, wait[2] - wait[1] - wait[0],
                     count, puts]);
      }
      wait = [asked, called, fired];
      yields = count = puts = 0;
    } else if (asked < 0) {
      puts += 1;
    } else if (asked === 0 && fired > 0) {
      yields += fired - called;
      count += 1;
    } else {
      wait = null;
    }
  }
  return frames;
}

function options(argv) {
  const out = {seconds: 20};
  for (let i = 2; i < argv.length; i++) {
    const key = argv[i].replace(/^--/, '');
    out[key] = key === 'check-frames' ? true : argv[++i];
  }
  if (!BROWSERS[out.browser] || !out.site || !fs.existsSync(path.join(out.site, 'index.html'))) {
    throw new Error('usage: node page_pace.js --browser chromium|firefox --site DIR ' +
                    '[--seconds N] [--check-frames] (DIR holds the index.html of make web)');
  }
  out.site = path.resolve(out.site);
  return out;
}

async function main() {
  const opts = options(process.argv);
  const server = await serve(opts.site);
  const browser = await puppeteer.launch({...BROWSERS[opts.browser], headless: true});
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 1280, height: 800});
    const problems = [];
    page.on('pageerror', (error) => problems.push(String(error)));
    await page.evaluateOnNewDocument(instruments);
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    // The title waits for a click in SDL's 1 ms steps.
    await page.waitForFunction(() => window.vombaTimers.some((t) => t[0] === 1),
                               {timeout: START_TIMEOUT_MS});
    const box = await (await page.$('#canvas')).boundingBox();
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await page.waitForFunction(
        (min) => window.vombaTimers.filter((t) => t[0] >= min).length > 10,
        {timeout: START_TIMEOUT_MS}, FRAME_WAIT_MIN_MS);
    // Held, the pointer reports movement only: push, then move by known amounts.
    await page.mouse.move(0, 0);
    await page.mouse.move(...SERVE_MOUSE, {steps: 4});
    await new Promise((done) => setTimeout(done, 500));
    await page.mouse.move(0, 0, {steps: 4});
    await page.mouse.move(...PARK_MOUSE, {steps: 4});
    await new Promise((done) => setTimeout(done, SETTLE_MS));
    const from = await page.evaluate(() => window.vombaTimers.length);
    await new Promise((done) => setTimeout(done, Number(opts.seconds) * 1000));
    const timers = await page.evaluate((n) => window.vombaTimers.slice(n), from);
    const context = await page.evaluate(() => window.vombaContext || 'none');
    if (problems.length) throw new Error(`the page failed: ${problems.join('; ')}`);
    const frames = framesOf(timers);
    console.log(JSON.stringify({browser: opts.browser, version: await browser.version(), context,
                                frames}));
    if (opts['check-frames']) {
      const yielding = frames.filter((f) => f[4] > 0).length;
      const badPuts = context === '2d' ? frames.filter((f) => f[5] !== 1).length : 0;
      if (!frames.length || yielding || badPuts) {
        throw new Error(`of ${frames.length} frames of play, ${yielding} handed the browser ` +
                        `its turn within the frame, besides the frame wait, and ${badPuts} ` +
                        `did not put their picture into the ${context} canvas once`);
      }
    }
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((error) => {
  console.error(`page_pace: ${error.message}`);
  process.exit(1);
});
