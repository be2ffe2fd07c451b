// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch: choose or drop a semicolon-separated file, see its line problems
// and the check table, run the model over every row and save the results.
// The core does the work in its worker, so the page stays responsive.

/* global el, clearNode, showMessage, offerDownload, readFileBytes */
/* exported ZevraBatch */

const SHOWN_ROWS = 200;    // a table of more rows would only slow the page down
const STATE_TEXT = { chyba: 'chyba', varovani: 'varování', ok: 'v pořádku' };

const ZevraBatch = {
  app: null,
  loaded: null,     // the answer of batchLoad
  baseName: 'vysledky',
  running: false,

  init(app) {
    this.app = app;
    const file = document.getElementById('batch-file');
    file.addEventListener('change', () => { const f = file.files[0]; file.value = ''; if (f) this.load(f); });
    document.getElementById('batch-choose').addEventListener('click', () => file.click());
    const drop = document.getElementById('page-batch');
    drop.addEventListener('dragover', ev => { ev.preventDefault(); document.getElementById('drop').classList.add('over'); });
    drop.addEventListener('dragleave', () => document.getElementById('drop').classList.remove('over'));
    drop.addEventListener('drop', ev => {
      ev.preventDefault();
      document.getElementById('drop').classList.remove('over');
      const f = ev.dataTransfer.files[0];
      if (f) this.load(f);
    });
    document.getElementById('batch-run').addEventListener('click', () => this.run());
    document.getElementById('batch-only-problems').addEventListener('change', () => this.renderTable());
    document.getElementById('close-batch').addEventListener('click', () => { if (!this.running) app.closeSide(); });
  },

  status(text) { document.getElementById('batch-status').textContent = text; },

  progress(label) {
    const bar = document.getElementById('batch-progress');
    bar.hidden = false;
    bar.value = 0;
    this.status(label + '…');
    return (done, total) => {
      bar.max = total || 1;
      bar.value = done;
      this.status(label + ': ' + (total ? Math.floor((100 * done) / total) : 0) + ' %');
    };
  },

  async busy(fn, timing) {
    if (this.running) return;
    this.running = true;
    const t0 = performance.now();
    document.body.dataset.batchBusy = 'true';
    for (const b of document.querySelectorAll('#page-batch button, #batch-file')) b.disabled = true;
    try { await fn(); } catch (e) {
      this.status('');
      await showMessage(String(e && e.message ? e.message : e), 'ZEVRAModel');
    } finally {
      // how long the page worked on this step, for the bench
      if (timing) document.body.dataset[timing] = String(Math.round(performance.now() - t0));
      this.running = false;
      document.getElementById('batch-progress').hidden = true;
      for (const b of document.querySelectorAll('#page-batch button, #batch-file')) b.disabled = false;
      document.getElementById('batch-run').disabled = !(this.loaded && this.loaded.platne) || this.ran;
      document.body.dataset.batchBusy = 'false';
    }
  },

  load(file) {
    return this.busy(async () => {
      this.loaded = null;
      this.ran = false;
      document.getElementById('batch-save').hidden = true;
      document.getElementById('batch-check').hidden = true;
      document.getElementById('batch-problems').hidden = true;
      this.baseName = file.name.replace(/\.[^.]*$/, '') || 'vysledky';
      document.getElementById('batch-name').textContent = file.name;
      const path = '/tmp/davka.csv';
      await this.app.core.writeFile(path, await readFileBytes(file));
      const r = await this.app.core.callWithProgress('batchLoad', [path], this.progress('Načítání souboru'));
      await this.app.core.remove(path);
      if (!r || r.ok === false) { this.status(''); throw new Error(r ? r.zprava : 'Soubor nelze načíst'); }
      this.loaded = r;
      this.status('Načteno ' + r.radku + ' řádků ' + (r.souhrn || '') + (r.platne ? '' : ' Data obsahují chyby, model nelze spustit.'));
      document.getElementById('batch-count').textContent = r.souhrn || '';
      const problems = r.problemy || [];
      document.getElementById('batch-problems').hidden = problems.length === 0;
      document.getElementById('batch-problem-list').textContent = problems.join('\n');
      document.getElementById('batch-check').hidden = false;
      await this.renderTable();
      document.body.dataset.batchLoaded = String(r.radku);
    }, 'batchLoadMs');
  },

  async renderTable() {
    const r = this.loaded;
    if (!r) return;
    const onlyProblems = document.getElementById('batch-only-problems').checked;
    let rows = r.radky || [];
    if (!onlyProblems) rows = (await this.app.core.call('batchRows', 0, Math.min(r.radku, SHOWN_ROWS))).radky || [];
    const total = onlyProblems ? (r.radkyCelkem || (r.radky || []).length) : r.radku;
    const t = document.getElementById('batch-table');
    clearNode(t);
    const cols = r.sloupce || [];
    // the messages stand beside the state, before the many value columns
    t.append(el('thead', {}, el('tr', {}, el('th', { scope: 'col', text: 'Č.', title: 'Pořadí obce v souboru' }), el('th', { scope: 'col', text: 'Stav' }),
      el('th', { scope: 'col', text: 'Zprávy' }), ...cols.map(c => el('th', { scope: 'col', text: c.titulek })))));
    const body = el('tbody');
    for (const row of rows.slice(0, SHOWN_ROWS)) {
      const cls = row.stav === 'chyba' ? 'row-err' : row.stav === 'varovani' ? 'row-warn' : null;
      body.append(el('tr', { class: cls },
        el('td', { class: 'num', text: String(row.radek + 1) }),
        el('td', { class: 'state', text: STATE_TEXT[row.stav] || row.stav }),
        el('td', { class: 'msgs', text: (row.zpravy || []).join('\n') }),
        ...(row.hodnoty || []).map(v => el('td', { text: v }))));
    }
    t.append(body);
    document.getElementById('batch-table-note').textContent = total > SHOWN_ROWS
      ? 'Zobrazeno prvních ' + SHOWN_ROWS + ' z ' + total + ' řádků.' : (total === 0 ? 'Žádný řádek k zobrazení.' : '');
  },

  run() {
    return this.busy(async () => {
      const r = await this.app.core.callWithProgress('batchRun', [], this.progress('Výpočet'));
      if (!r || r.ok === false) throw new Error(r ? r.zprava : 'Výpočet selhal');
      this.ran = true;
      this.status('Model byl vyhodnocen pro ' + r.radku + ' obcí. Výsledek uložte níže.');
      await this.renderFormats();
      document.body.dataset.batchRan = String(r.radku);
    }, 'batchRunMs');
  },

  async renderFormats() {
    const formats = await this.app.core.call('outputFormats');
    const bar = document.getElementById('batch-formats');
    clearNode(bar);
    for (const f of formats) {
      const ext = (f.pripony && f.pripony[0]) || ('.' + f.nazev);
      const b = el('button', { type: 'button', id: 'batch-save-' + f.nazev, text: 'Uložit výsledek ' + f.nazev.toUpperCase() + ' (' + ext + ')...', title: f.filtr || null });
      b.addEventListener('click', () => this.save(f.nazev, ext));
      bar.append(b);
    }
    document.getElementById('batch-save').hidden = false;
  },

  save(format, ext) {
    return this.busy(async () => {
      const path = '/tmp/vysledky' + ext;
      const r = await this.app.core.callWithProgress('batchWrite', [format, path], this.progress('Ukládání'));
      if (!r || r.ok === false) throw new Error(r ? r.zprava : 'Výsledek nelze uložit');
      const type = ext === '.html' ? 'text/html' : ext === '.json' ? 'application/json' : 'application/octet-stream';
      offerDownload(await this.app.core.readBlob(path, type), this.baseName + ext);
      this.status('Výsledek byl uložen (' + this.baseName + ext + ').');
      document.body.dataset.batchSaved = format;
    }, 'batchSaveMs');
  },
};
