// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The figures of bench/web/run. The batch file repeats the data lines of
// examples/obce.csv up to the number of rows asked for.

'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('../../tests/web/browser/harness');

const args = h.parseArgs(process.argv.slice(2));
const rows = Number(args.rows || 100000);
const median = xs => { const s = [...xs].sort((a, b) => a - b); return s[Math.floor(s.length / 2)]; };

function makeBatch(dir) {
  const src = fs.readFileSync(path.join(args.examples, 'obce.csv'));
  const lines = src.toString('latin1').split(/\r?\n/).filter(l => l && !l.startsWith('#'));
  const out = [];
  for (let i = 0; i < rows; i++) out.push(lines[i % lines.length]);
  const file = path.join(dir, 'obce-' + rows + '.csv');
  fs.writeFileSync(file, Buffer.from(out.join('\r\n') + '\r\n', 'latin1'));
  return file;
}

(async () => {
  const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'zevra-web-bench-'));
  const csv = makeBatch(tmp);
  const browser = await h.launch(args.chromium);
  try {
    // page ready: the best of three fresh loads
    const loads = [];
    for (let i = 0; i < 3; i++) {
      const c = await h.openPage(browser, args.web);
      loads.push(c);
      if (i < 2) await c.page.close();
    }
    const ctx = loads[2];
    const page = ctx.page;
    console.log('page ready (in page, from navigation start): ' + loads.map(c => c.ready.ms).join(', ') + ' ms; wall ' + loads.map(c => c.wallMs).join(', ') + ' ms');

    // one evaluation through the worker, as the page makes it
    const values = h.inputFileValues(path.join(args.examples, 'obec.txt'));
    const times = await page.evaluate(async v => {
      const t = { validate: [], evaluate: [], total: [] };
      for (let i = 0; i < 30; i++) {
        const a = performance.now();
        await App.core.call('validate', v);
        const b = performance.now();
        await App.core.call('evaluate', v);
        const c = performance.now();
        t.validate.push(b - a); t.evaluate.push(c - b); t.total.push(c - a);
      }
      return t;
    }, values);
    console.log('one evaluation, median of 30 (validate + evaluate with report, profile and sensitivity): ' +
      median(times.total).toFixed(2) + ' ms (validate ' + median(times.validate).toFixed(2) + ', evaluate ' + median(times.evaluate).toFixed(2) + ')');

    // the batch: file -> check -> run -> HTML download, watching the page's frames
    await page.click('#open-batch');
    await page.evaluate(() => {
      window.benchGap = 0;
      let last = performance.now();
      const tick = now => { window.benchGap = Math.max(window.benchGap, now - last); last = now; if (!window.benchStop) requestAnimationFrame(tick); };
      requestAnimationFrame(tick);
    });
    const t0 = Date.now();
    await (await page.$('#batch-file')).uploadFile(csv);
    await page.waitForFunction(() => document.body.dataset.batchLoaded && document.body.dataset.batchBusy === 'false', { timeout: 0 });
    const tLoad = Date.now();
    const gapLoad = await page.evaluate(() => { const g = window.benchGap; window.benchGap = 0; return g; });
    await page.click('#batch-run');
    await page.waitForFunction(() => document.body.dataset.batchRan && document.body.dataset.batchBusy === 'false', { timeout: 0 });
    const tRun = Date.now();
    const gapRun = await page.evaluate(() => { const g = window.benchGap; window.benchGap = 0; return g; });
    const html = await h.download(ctx, () => page.click('#batch-save-html'));
    const tEnd = Date.now();
    const gap = await page.evaluate(() => { window.benchStop = true; return window.benchGap; });
    const web = tEnd - t0;
    const inPage = await page.evaluate(() => ['batchLoadMs', 'batchRunMs', 'batchSaveMs'].map(k => Number(document.body.dataset[k])));

    const want = path.join(tmp, 'cli.html');
    const n0 = process.hrtime.bigint();
    h.cli(args.cli, ['batch', csv, want]);
    const native = Number(process.hrtime.bigint() - n0) / 1e6;
    const same = fs.readFileSync(html).equals(fs.readFileSync(want));
    console.log(rows + ' rows, file to HTML download: ' + web + ' ms (load and check ' + (tLoad - t0) + ', run ' + (tRun - tLoad) +
      ', write and download ' + (tEnd - tRun) + '); longest frame gap of the page while loading ' + gapLoad.toFixed(0) +
      ' ms, running ' + gapRun.toFixed(0) + ' ms, writing ' + gap.toFixed(0) + ' ms');
    console.log('  of which the page worked (in page): load and check ' + inPage[0] + ' ms, run ' + inPage[1] + ' ms, write and hand over ' +
      inPage[2] + ' ms; together ' + (inPage[0] + inPage[1] + inPage[2]) + ' ms');
    console.log('native zevra-cli batch, same file: ' + native.toFixed(0) + ' ms; web / native = ' + (web / native).toFixed(2) +
      '; in-page work / native = ' + ((inPage[0] + inPage[1] + inPage[2]) / native).toFixed(2) + '; HTML ' + (same ? 'byte-identical' : 'DIFFERENT'));
    if (!same) process.exitCode = 1;
  } finally {
    await browser.close();
    fs.rmSync(tmp, { recursive: true, force: true });
  }
})();
