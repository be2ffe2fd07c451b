// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The page in chromium from file://, step by step as a user goes, compared
// with the native zevra-cli: validation lines, report text, RTF bytes, the
// input data file, the profile, the batch's problems, table and HTML bytes,
// and no request outside the page's folder. Run by tests/web/browser/run.

'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./harness');

const args = h.parseArgs(process.argv.slice(2));
const web = args.web, cliPath = args.cli, examples = args.examples;
const shots = args.screenshots && args.screenshots !== true ? args.screenshots : null;
let failures = 0;

function check(name, ok, detail) {
  console.log((ok ? 'ok   ' : 'FAIL ') + name + (ok || !detail ? '' : '\n     ' + String(detail).split('\n').slice(0, 8).join('\n     ')));
  if (!ok) failures++;
}

function firstDifference(a, b) {
  const n = Math.min(a.length, b.length);
  for (let i = 0; i < n; i++) if (a[i] !== b[i]) return 'first difference at byte ' + i + ' of ' + a.length + '/' + b.length;
  return a.length === b.length ? 'equal' : 'lengths ' + a.length + ' and ' + b.length;
}

async function shot(page, name) {
  if (!shots) return;
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.screenshot({ path: path.join(shots, 'web-' + name + '.png') });
}

const text = (page, sel) => page.$eval(sel, e => e.innerText);
const disabled = (page, sel) => page.$eval(sel, e => e.disabled);

// The report as lines: one per entry, a line break inside an entry as "\n".
const reportText = page => page.$$eval('#report p', ps => ps.map(p => p.classList.contains('empty') ? ''
  : [...p.childNodes].map(n => (n.nodeName === 'BR' ? '\n' : n.textContent)).join('')).join('\n') + '\n');

async function wizard(ctx) {
  const { page } = ctx;
  const obec = path.join(examples, 'obec.txt');
  const values = h.inputFileValues(obec);

  await shot(page, 'uvod');
  // Keyboard only: Tab reaches "Další >>", its focus is visible, Enter goes on.
  let tabs = 0;
  while (tabs++ < 20 && await page.evaluate(() => document.activeElement.id) !== 'bt-next') await page.keyboard.press('Tab');
  check('keyboard: Tab reaches "Další >>" with a visible focus', await page.evaluate(() => {
    const e = document.activeElement;
    return e.id === 'bt-next' && getComputedStyle(e).outlineStyle !== 'none';
  }));
  await page.keyboard.press('Enter');
  await page.waitForSelector('#page-input-1:not([hidden])');
  check('keyboard: the first field has the focus on the next page', await page.evaluate(() => document.activeElement.id === 'f-InputData'));
  // Empty inputs: errors on a red page and no way on.
  await h.clickNext(page); await h.clickNext(page); await h.clickNext(page);
  const emptyState = await page.$eval('#validation', e => e.className);
  check('empty input: validation in the error state', emptyState.includes('state-chyba'), emptyState);
  check('empty input: the state stands in the text', (await text(page, '#validation')).startsWith('Stav: chyby'));
  check('empty input: "Další >>" disabled', await disabled(page, '#bt-next'));
  const emptyLines = (await text(page, '#validation')).split('\n').filter(l => l.startsWith('CHYBA: '));
  check('empty input: CHYBA lines shown', emptyLines.length > 0);
  await shot(page, 'kontrola-chyby');

  // Type obec.txt's values from the first input page.
  await page.click('#bt-back'); await page.click('#bt-back'); await page.click('#bt-back');
  const code = values.Kod;
  delete values.Kod;
  await h.typeInput(page, { InputData: values.InputData });
  await page.click('#bt-back'); await page.click('#bt-back');
  await page.click('#lookup');
  if (await page.$eval('#dialog', d => d.open)) {
    const lines = await page.$$eval('#dialog-choice-list label', ls => ls.map(l => l.textContent));
    check('lookup: a choice list with 2 to 14 lines', lines.length >= 2 && lines.length <= 14, lines.length);
    await shot(page, 'vyber-obce');
    await page.keyboard.press('Escape');
  }
  const looked = await page.$eval('#f-Kod', e => e.value);
  check('lookup by name gives the file\'s code', looked === code || looked === '', 'got ' + looked);
  if (looked === '') values.Kod = code;
  await h.typeInput(page, values);
  if (shots) {
    await page.$$eval('#tabs button', b => b[1].click());
    await shot(page, 'vstupni-data-1');
    await page.$$eval('#tabs button', b => b[3].click());
  }
  await h.clickNext(page);
  const vText = await text(page, '#validation');
  const cliLines = h.cli(cliPath, ['validate', obec]).toString().split('\n').filter(l => /^(CHYBA|POZOR): /.test(l));
  const pageLines = vText.split('\n').filter(l => /^(CHYBA|POZOR): /.test(l));
  check('validation lines as zevra-cli validate', JSON.stringify(cliLines) === JSON.stringify(pageLines), pageLines.join('\n') + '\n---\n' + cliLines.join('\n'));
  check('validation: "Další >>" enabled without errors', !(await disabled(page, '#bt-next')));
  await shot(page, 'kontrola');

  // The input data file, saved: the bytes of the desktop's file.
  const saved = await h.download(ctx, () => page.click('#save-input'));
  check('saved input file is byte-identical to examples/obec.txt', fs.readFileSync(saved).equals(fs.readFileSync(obec)),
    firstDifference(fs.readFileSync(saved), fs.readFileSync(obec)));

  await h.clickNext(page);
  await page.waitForSelector('#report p');
  const want = h.cli(cliPath, ['evaluate', obec, '--format', 'text']).toString();
  const got = await reportText(page);
  check('report text as zevra-cli evaluate --format text', got === want, firstDifference(got, want));
  check('report has bold runs', await page.$$eval('#report strong', s => s.length > 0));
  check('result: inputs locked', await disabled(page, '#f-ObyvateleCelkem'));
  await shot(page, 'vysledek');
  await page.click('#copy-report');
  await page.waitForFunction(() => document.getElementById('status').textContent !== '' || document.getElementById('dialog').open);
  check('copy to the clipboard reports success', await text(page, '#status') === 'Výstup byl zkopírován do schránky.');
  const rtf = await h.download(ctx, () => page.click('#save-report'));
  const wantRtf = h.cli(cliPath, ['evaluate', obec, '--format', 'rtf']);
  check('RTF download byte-identical to zevra-cli --format rtf', fs.readFileSync(rtf).equals(wantRtf), firstDifference(fs.readFileSync(rtf), wantRtf));
  check('RTF named after the municipality', path.basename(rtf) === values.InputData + '.rtf', path.basename(rtf));

  // The profile.
  const json = JSON.parse(h.cli(cliPath, ['evaluate', obec, '--format', 'json']).toString());
  await page.click('#open-profile');
  await page.waitForSelector('#profile-chart svg');
  check('profile: one bar per indicator', await page.$$eval('#profile-chart rect.bar.ours', r => r.length) === json.indikatory.length);
  check('profile: the robustness sentence', await text(page, '#profile-robust') === json.citlivost.shrnuti,
    await text(page, '#profile-robust'));
  check('profile: the similar municipalities', await page.$$eval('#similar tbody tr', r => r.length) === json.podobneObce.length);
  const pick = Math.min(1, json.podobneObce.length - 1);
  await page.$$eval('#similar tbody button', (b, i) => b[i].click(), pick);
  const total = await page.$eval('#terms tr.total td:last-child', e => e.textContent);
  check('profile: what makes the chosen one less similar adds up to its figure',
    Math.abs(Number(total) - json.podobneObce[pick].podobnost) < 0.051, total + ' vs ' + json.podobneObce[pick].podobnost);
  await shot(page, 'profil');
  await page.click('#close-profile');

  // Load examples/obec.txt into a fresh wizard: the fields as typed.
  await page.click('#bt-start-again');
  await page.click('#dialog button[value="yes"]');
  await h.clickNext(page);
  const input = await page.$('#load-input-file');
  await input.uploadFile(obec);
  await page.waitForFunction(() => document.getElementById('f-InputData').value !== '');
  check('loaded input file fills the name', await page.$eval('#f-InputData', e => e.value) === values.InputData);
  check('loaded input file: road in km', await page.$eval('#f-Silnice1TrKm', e => e.value) === values.Silnice1TrKm);
}

async function batch(ctx) {
  const { page } = ctx;
  await page.click('#bt-start-again');
  await page.click('#dialog button[value="yes"]');
  await page.click('#open-batch');
  const csv = path.join(examples, 'obce.csv');
  const chooser = await page.$('#batch-file');
  await chooser.uploadFile(csv);
  await page.waitForFunction(() => document.body.dataset.batchLoaded && document.body.dataset.batchBusy === 'false');
  const rows = await page.$$eval('#batch-table tbody tr', trs => trs.map(t => ({ cls: t.className, state: t.children[1].textContent })));
  check('batch: warning rows marked in text and colour', rows.length > 0 && rows.every(r => (r.cls === 'row-warn' && r.state === 'varování') || (r.cls === 'row-err' && r.state === 'chyba')),
    JSON.stringify(rows));
  const pageMsgs = (await page.$$eval('#batch-table td.msgs', tds => tds.map(t => t.textContent))).join('\n').split('\n');
  const cliMsgs = h.cliMessages(cliPath, ['batch', csv, path.join(os.tmpdir(), 'zevra-web-check.html')]).split('\n')
    .map(l => l.trim()).filter(l => /^(CHYBA|POZOR): /.test(l));
  check('batch: the check messages of the rows as zevra-cli', JSON.stringify(pageMsgs) === JSON.stringify(cliMsgs), pageMsgs.join('\n') + '\n---\n' + cliMsgs.join('\n'));
  await shot(page, 'hromadne');
  await page.click('#batch-run');
  await page.waitForFunction(() => document.body.dataset.batchRan && document.body.dataset.batchBusy === 'false');
  const html = await h.download(ctx, () => page.click('#batch-save-html'));
  const want = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'zevra-web-cli-')), 'obce.html');
  h.cli(cliPath, ['batch', csv, want]);
  check('batch HTML byte-identical to zevra-cli batch', fs.readFileSync(html).equals(fs.readFileSync(want)),
    firstDifference(fs.readFileSync(html), fs.readFileSync(want)));
  if (await page.$('#batch-save-json')) {
    const js = await h.download(ctx, () => page.click('#batch-save-json'));
    const wantJs = want.replace(/\.html$/, '.json');
    h.cli(cliPath, ['batch', csv, wantJs]);
    const strip = f => { try { const o = JSON.parse(fs.readFileSync(f, 'utf8')); delete o.referencniData.slozka; return JSON.stringify(o); } catch (e) { return 'unreadable JSON ' + f; } };
    check('batch JSON as zevra-cli batch (but for the data folder)', strip(js) === strip(wantJs));
  }
  await shot(page, 'hromadne-vysledek');

  // A damaged batch file: each bad line listed, the others loaded.
  const bad = path.join(examples, 'obce-chybne.csv');
  await chooser.uploadFile(bad);
  await page.waitForFunction(() => document.body.dataset.batchBusy === 'false' && !document.getElementById('batch-problems').hidden);
  const wantProblems = h.cliMessages(cliPath, ['batch', bad, path.join(path.dirname(want), 'x.html')]);
  const pageProblems = (await text(page, '#batch-problem-list')).split('\n').filter(Boolean);
  const cliProblems = wantProblems.split('\n').filter(l => l.startsWith('Řádek '));
  check('batch: line problems "Řádek N: ..." as zevra-cli', pageProblems.length > 0 && JSON.stringify(pageProblems) === JSON.stringify(cliProblems),
    pageProblems.join('\n') + '\n---\n' + cliProblems.join('\n'));
  await page.click('#close-batch');
}

// The user's five reference files: a damaged one gives the core's message
// naming it and the data in use stay; sound ones are taken.
async function referenceData(ctx, dataDir) {
  const { page } = ctx;
  const names = ['DecilDists.txt', 'MuniInfo.txt', 'Regions.txt', 'SampMuni.txt', 'OWeights.txt'];
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zevra-web-ref-'));
  for (const n of names) fs.copyFileSync(path.join(dataDir, n), path.join(dir, n));
  const weights = fs.readFileSync(path.join(dir, 'OWeights.txt'));
  fs.writeFileSync(path.join(dir, 'OWeights.txt'), weights.subarray(0, Math.floor(weights.length / 2)));
  await page.click('#open-refdata');
  const chooser = await page.$('#refdata-files');
  await chooser.uploadFile(...names.map(n => path.join(dir, n)));
  await page.waitForSelector('#dialog[open]');
  const message = await text(page, '#dialog-text');
  check('reference data: a damaged file gives a Czech message naming it', /OWeights\.txt/.test(message), message);
  await page.keyboard.press('Escape');
  fs.writeFileSync(path.join(dir, 'OWeights.txt'), weights);
  await chooser.uploadFile(...names.map(n => path.join(dir, n)));
  await page.waitForFunction(() => document.getElementById('refdata-message').textContent.startsWith('Referenční data byla'));
  check('reference data: five sound files are taken', await text(page, '#refdata-message') === 'Referenční data byla načtena.',
    await text(page, '#refdata-message'));
  await page.click('#refdata-demo');
  await page.waitForFunction(() => document.getElementById('refdata-message').textContent.startsWith('Používají se opět'));
  await page.click('#close-refdata');
  fs.rmSync(dir, { recursive: true, force: true });
}

// Lookup by a name that many municipalities share, and by one none has.
async function lookup(ctx) {
  const { page } = ctx;
  await h.clickNext(page);
  const find = async name => {
    await page.click('#f-InputData', { clickCount: 3 });
    await page.keyboard.press('Backspace');
    await page.type('#f-InputData', name);
    await page.click('#lookup');
    await page.waitForSelector('#dialog[open]');
  };
  await find('Lhota');
  const lines = await page.$$eval('#dialog-choice-list label', ls => ls.map(l => l.textContent));
  check('lookup: a shared name offers a choice of "Název (okr. Okres)" lines', lines.length >= 2 && lines.length <= 14 &&
    lines.every(l => /^Lhota \(okr\. .+\)$/.test(l)), lines.join('\n'));
  check('lookup: the first line preselected', await page.$eval('#dialog-choice-list input', i => i.checked));
  await shot(page, 'vyber-obce');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => !document.getElementById('dialog').open);
  const chosen = await page.waitForFunction(() => document.getElementById('f-Kod').value, { timeout: 5000 }).then(() => true, () => false);
  check('lookup: the chosen line gives its code', chosen);
  await find('Obec, která neexistuje');
  check('lookup: none found gives the message', (await text(page, '#dialog-text')) === 'Obec s tímto názvem nebyla nalezena v seznamu obcí ČR');
  await page.keyboard.press('Escape');
}

(async () => {
  if (shots) fs.mkdirSync(shots, { recursive: true });
  const browser = await h.launch(args.chromium);
  try {
    const ctx = await h.openPage(browser, web);
    check('page ready from file:// (' + ctx.ready.ms + ' ms, module in a worker: ' + ctx.ready.worker + ')', ctx.ready.worker === 'true');
    check('demonstration data notice visible', !(await ctx.page.$eval('#demo-notice', e => e.hidden)));
    await wizard(ctx);
    await batch(ctx);
    await referenceData(ctx, args.data);
    await lookup(ctx);
    const foreign = h.foreignRequests(ctx, web);
    check('no request left the page\'s folder (' + ctx.requests.length + ' requests)', foreign.length === 0, foreign.join('\n'));
    check('no CSP refusal, console error or page error', ctx.problems.length === 0, ctx.problems.join('\n'));
    if (shots) {
      const dark = await h.openPage(browser, web, { dark: true });
      await dark.page.click('#bt-next');
      await h.typeInput(dark.page, h.inputFileValues(path.join(examples, 'obec.txt')));
      await h.clickNext(dark.page);
      await h.clickNext(dark.page);
      await dark.page.waitForSelector('#report p');
      await dark.page.screenshot({ path: path.join(shots, 'web-vysledek-tmavy.png') });
    }
  } catch (e) {
    check('browser test ran to its end', false, e.stack);
  } finally {
    await browser.close();
  }
  console.log(failures ? failures + ' check(s) failed' : 'all checks passed');
  process.exit(failures ? 1 : 0);
})();
