// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser test and the web bench share: starting the system's
// chromium, opening the page from file://, catching downloads, recording
// every request, and the wizard's steps as a user takes them.

'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync, spawnSync } = require('child_process');
const puppeteer = require('puppeteer-core');

function parseArgs(argv) {
  const a = {};
  for (let i = 0; i < argv.length; i++) {
    if (argv[i].startsWith('--')) a[argv[i].substring(2)] = (i + 1 < argv.length && !argv[i + 1].startsWith('--')) ? argv[++i] : true;
  }
  return a;
}

async function launch(chromium) {
  const browser = await puppeteer.launch({
    executablePath: chromium,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-extensions', '--window-size=1366,768'],
    defaultViewport: { width: 1366, height: 768 },
  });
  return browser;
}

// Opens the page; downloads go to a fresh folder; every request is recorded.
async function openPage(browser, webDir, opts) {
  const page = await browser.newPage();
  if (opts && opts.dark) await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'dark' }]);
  const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'zevra-web-dl-'));
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads, eventsEnabled: true });
  const requests = [];
  const problems = [];
  page.on('request', r => requests.push(r.url()));
  page.on('console', m => {
    const t = m.text();
    if (/Content.Security.Policy|Refused to/i.test(t)) problems.push('CSP: ' + t);
    if (m.type() === 'error') problems.push('console error: ' + t);
  });
  page.on('pageerror', e => problems.push('page error: ' + e.message));
  const url = 'file://' + path.resolve(webDir) + '/index.html';
  const t0 = Date.now();
  await page.goto(url);
  await page.waitForSelector('body[data-ready]', { timeout: 30000 });
  const wall = Date.now() - t0;
  const ready = await page.$eval('body', b => ({ state: b.dataset.ready, ms: Number(b.dataset.readyMs), worker: b.dataset.worker }));
  if (ready.state !== 'true') throw new Error('the page did not start: ' + await page.$eval('#status', e => e.textContent));
  return { page, downloads, requests, problems, ready, wallMs: wall, cdp };
}

// Waits for one new finished file in the download folder and returns its path.
async function waitDownload(dir, known, timeoutMs) {
  const end = Date.now() + (timeoutMs || 60000);
  for (;;) {
    const names = fs.readdirSync(dir).filter(n => !known.has(n) && !n.endsWith('.crdownload'));
    const busy = fs.readdirSync(dir).some(n => n.endsWith('.crdownload'));
    if (names.length && !busy) { known.add(names[0]); return path.join(dir, names[0]); }
    if (Date.now() > end) throw new Error('no download arrived in ' + dir);
    await new Promise(r => setTimeout(r, 50));
  }
}

async function download(ctx, click) {
  const known = new Set(fs.readdirSync(ctx.downloads));
  await click();
  return waitDownload(ctx.downloads, known);
}

// Requests that left the page's folder (blob: and data: stay in the page).
function foreignRequests(ctx, webDir) {
  const base = 'file://' + path.resolve(webDir) + '/';
  return ctx.requests.filter(u => !(u.startsWith(base) || u.startsWith('blob:') || u.startsWith('data:')));
}

// An input data file as the page's field values: key -> text as typed.
function inputFileValues(file) {
  const text = new TextDecoder('windows-1250').decode(fs.readFileSync(file));
  const v = {};
  for (const line of text.split(/\r?\n/)) {
    const m = /^([A-Za-z0-9]+)=(.*)$/.exec(line);
    if (!m) continue;
    const key = m[1], raw = m[2].trim();
    if (key === 'Silnice1TrM') v.Silnice1TrKm = String(Number(raw) / 1000);
    else if (/^[-+ 0-9.E]+$/.test(raw) && key !== 'Kod' && key !== 'Kraj') v[key] = String(Number(raw));
    else v[key] = raw;
  }
  return v;
}

async function clickNext(page) { await page.click('#bt-next'); await idle(page); }

async function idle(page) {
  await page.waitForFunction(() => !document.body.dataset.batchBusy || document.body.dataset.batchBusy === 'false');
  await new Promise(r => setTimeout(r, 30));
}

// Types the values into the wizard's three pages, as a user does.
async function typeInput(page, values) {
  for (let p = 1; p <= 3; p++) {
    const keys = await page.$$eval('#page-input-' + p + ' [id^="f-"]', els => els.map(e => e.id.substring(2)));
    for (const key of keys) {
      if (key.includes('-') || !(key in values)) continue;
      const sel = '#f-' + key;
      const tag = await page.$eval(sel, e => e.tagName);
      if (tag === 'SELECT') { await page.focus(sel); await page.select(sel, values[key]); }
      else if (tag === 'DIV') { if (values[key]) await page.click(sel + '-' + values[key]); }
      else {
        await page.click(sel, { clickCount: 3 });
        await page.keyboard.press('Backspace');
        await page.type(sel, values[key]);
      }
    }
    if (p < 3) await clickNext(page);
  }
}

// zevra-cli's standard output; exits 0 (success) or 1 (data with errors) only.
function cli(cliPath, args) {
  return execFileSync(cliPath, args, { maxBuffer: 1 << 30, stdio: ['ignore', 'pipe', 'pipe'] });
}

// zevra-cli's messages on standard error, whatever its exit status.
function cliMessages(cliPath, args) {
  return spawnSync(cliPath, args, { maxBuffer: 1 << 30 }).stderr.toString();
}

module.exports = { parseArgs, launch, openPage, download, waitDownload, foreignRequests, inputFileValues, typeInput, clickNext, idle, cli, cliMessages };
