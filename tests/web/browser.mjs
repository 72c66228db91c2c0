// One of Debian's browsers, headless, driven by puppeteer-core for the
// browser cases in Python (page.py): one JSON request a line on stdin, one
// JSON reply a line on stdout.
//
//   node browser.mjs chromium|firefox
//   {"calls": [["mouse.move", [10, 20]], ["mouse.down", []]]}  -> {"value": <last result>}
//   {"calls": [["heard", []]]}  -> what the page said and asked for since the last time
//
// A call names a method of puppeteer's page, or of one of its parts (mouse,
// touchscreen); the calls of one request run back to back, as closely as a
// quick hand. No flag loosens the browser's rules for sound or the pointer.
import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

const LAUNCH = {
  chromium: {
    browser: 'chrome', executablePath: '/usr/bin/chromium',
    // Nothing fetched for the browser itself (the machine's network is closed;
    // those requests would only fail); as root Chromium refuses its sandbox.
    args: ['--disable-gpu', '--disable-quic', '--disable-background-networking',
           '--disable-component-update',
           ...(process.getuid() === 0 ? ['--no-sandbox'] : [])],
  },
  firefox: {browser: 'firefox', executablePath: '/usr/bin/firefox-esr'},
};

const heard = {errors: [], notices: [], requests: []};
// Firefox refuses a mouse sent beyond the page, so the page is made wide
// enough for a held pointer's pushes past the canvas (page.py keeps the mouse on it).
const browser = await puppeteer.launch({...LAUNCH[process.argv[2]], headless: true,
                                        defaultViewport: {width: 2000, height: 1800}});
const page = await browser.newPage();
page.on('console', (message) => {
  const kind = ['error', 'assert'].includes(message.type()) ? 'errors' : 'notices';
  heard[kind].push(message.text());
});
page.on('pageerror', (problem) => heard.errors.push(String(problem && problem.message || problem)));
page.on('request', (request) => heard.requests.push(request.url()));

async function run(name, args) {
  if (name === 'heard') {
    const copy = structuredClone(heard);
    for (const list of Object.values(heard)) list.length = 0;
    return copy;
  }
  if (name === 'version') return browser.version();
  const path = name.split('.');
  const method = path.pop();
  const owner = path.reduce((part, key) => part[key], page);
  const value = await owner[method](...args);
  // Only plain values travel back: not the response a navigation gives.
  const plain = value === null || typeof value !== 'object' || [Object, Array].includes(value.constructor);
  return value !== undefined && plain ? value : null;
}

process.stdout.write(JSON.stringify({value: await browser.version()}) + '\n');
for await (const line of readline.createInterface({input: process.stdin})) {
  let reply;
  try {
    let value = null;
    for (const [name, args] of JSON.parse(line).calls) value = await run(name, args);
    reply = {value};
  } catch (problem) {
    reply = {error: String(problem && problem.message || problem)};
  }
  process.stdout.write(JSON.stringify(reply) + '\n');
}
await browser.close();
