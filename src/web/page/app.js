// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard: welcome page, three input pages, validation, result; the
// navigation between them and the actions of each page. Every figure is
// checked, evaluated and written by the core module (core.js).

/* global ZevraCore, el, clearNode, showMessage, askYesNo, showChoice, offerDownload,
   readFileBytes, markupToNodes, ZevraProfile, ZevraBatch, ZevraRefData */

const PAGES = ['welcome', 'input-1', 'input-2', 'input-3', 'validation', 'result'];
const TITLES = ['Úvod', 'Vstupní data 1', 'Vstupní data 2', 'Vstupní data 3', 'Kontrola vstupu', 'Výsledek'];
const SIDE_PAGES = ['profile', 'batch', 'refdata'];
const NAME_KEY = 'InputData';
const NOTE = 'Zadejte prosím informace o Vaši obci (městysu, městu). Není-li uvedeno jinak, zadejte aktuální nebo nejnovější dostupné hodnoty.';

const App = {
  core: null,
  fields: null,        // z.inputFields()
  controls: {},        // key -> control (input/select/radio pair)
  visible: new Set([0]),
  active: 0,
  side: null,          // an open side page (profile, batch, reference data)
  output: null,        // z.evaluate() result, null = none
  errors: 0,
  lastInput: null,     // the input of the last validation
  nameOnEnter: '',
  busy: false,

  status(text) { document.getElementById('status').textContent = text; },

  async start() {
    const t0 = performance.now();
    try {
      this.core = await ZevraCore.start();
      const info = await this.core.call('info');
      this.fields = await this.core.call('inputFields');
      document.getElementById('version').textContent = info && info.verze ? '- verze: ' + info.verze : '';
      this.buildInputPages();
      this.bindButtons();
      await ZevraRefData.init(this);
      ZevraBatch.init(this);
      ZevraProfile.init(this);
      this.clearInputs();
      this.showPage(0);
      this.status('');
      document.body.dataset.ready = 'true';
      document.body.dataset.readyMs = String(Math.round(performance.now() - t0));
      document.body.dataset.worker = this.core.inWorker ? 'true' : 'false';
    } catch (e) {
      this.status('Model nelze spustit: ' + (e && e.message ? e.message : e));
      document.body.dataset.ready = 'error';
    }
  },

  // ---- input pages ---------------------------------------------------------
  kindOf(f) {
    return { text: 'text', kraj: 'region', anone: 'yesno' }[f.druh] || 'number';
  },

  buildInputPages() {
    const groups = this.fields.skupiny || [];
    groups.forEach((g, gi) => {
      const page = document.getElementById('page-input-' + (gi + 1));
      if (!page) return;
      page.append(el('div', { class: 'panel note' }, el('p', { text: this.fields.poznamka || NOTE })));
      let box = el('div', { class: 'form' });
      let group = '';
      page.append(box);
      for (const f of g.pole || []) {
        if ((f.oddil || '') !== group) {
          // the fields of a group box (the census figures) stand in a box of their own
          group = f.oddil || '';
          box = el('div', { class: 'form' });
          page.append(group ? el('fieldset', { class: 'group' }, el('legend', { text: group }), box) : box);
        }
        box.append(this.buildField(f));
        if (f.poznamkaPod) box.append(el('p', { class: 'field-note', text: f.poznamkaPod }));
      }
      if (gi === 0) {
        page.append(el('div', { class: 'buttons right' },
          el('button', { type: 'button', id: 'load-input', text: 'Načíst vstupní data ze souboru...' }),
          el('input', { type: 'file', id: 'load-input-file', accept: '.txt,text/plain', hidden: true, tabindex: '-1' }),
          el('button', { type: 'button', id: 'open-batch-2', text: 'Hromadné zpracování...' })));
      }
    });
  },

  buildField(f) {
    const id = 'f-' + f.klic;
    const kind = this.kindOf(f);
    const label = f.popisek || f.klic;
    const row = el('div', { class: 'row' });
    if (kind === 'yesno') {
      const [yes, no] = f.moznosti || ['Ano', 'Ne'];
      const fs = el('div', { class: 'yesno', id, role: 'radiogroup', 'aria-labelledby': id + '-label' },
        el('label', {}, el('input', { type: 'radio', name: id, value: 'T', id: id + '-T' }), ' ' + yes),
        el('label', {}, el('input', { type: 'radio', name: id, value: 'F', id: id + '-F' }), ' ' + no));
      row.append(el('span', { class: 'label', id: id + '-label', text: label }), fs, el('span'));
      this.controls[f.klic] = { kind, el: fs };
      return row;
    }
    row.append(el('label', { for: id, text: label }));
    const extra = el('span', { class: 'extra' });
    let control;
    if (kind === 'region') {
      control = el('select', { id });
      this.fillRegions(control);
    } else if (kind === 'text') {
      control = el('input', { type: 'text', id, autocomplete: 'off', spellcheck: 'false' });
    } else {
      const hintId = id + '-hint';
      control = el('input', { type: 'text', id, inputmode: 'decimal', autocomplete: 'off', class: 'num', 'aria-describedby': hintId });
      const parts = [];
      if (f.jednotka) parts.push(f.jednotka);
      if (f.min !== undefined && f.min !== null && f.max !== undefined && f.max !== null) parts.push(fmtNum(f.min) + ' až ' + fmtNum(f.max));
      extra.append(el('span', { class: 'hint', id: hintId, text: parts.join(', ') }));
      control.addEventListener('beforeinput', ev => this.filterNumber(ev, f));
    }
    // the lookup button stands beside the code
    if (f.hledani) extra.prepend(el('button', { type: 'button', id: 'lookup', text: 'Vyhledat' }));
    row.append(control, extra);
    this.controls[f.klic] = { kind, el: control, field: f };
    return row;
  },

  fillRegions(select) {
    clearNode(select);
    select.append(el('option', { value: '', text: this.fields.krajNevybran || '--- vyberte ---' }));
    for (const k of this.fields.kraje || []) select.append(el('option', { value: String(k.cislo), text: k.nazev }));
  },

  refreshRegions() {
    for (const c of Object.values(this.controls)) if (c.kind === 'region') this.fillRegions(c.el);
  },

  // Only what can form a number with the field's decimals may be typed.
  filterNumber(ev, f) {
    if (!ev.data || ev.inputType.startsWith('delete')) return;
    const t = ev.target;
    const next = t.value.substring(0, t.selectionStart) + ev.data + t.value.substring(t.selectionEnd);
    const dec = f.celociselne ? 0 : (f.desetinna || 0);
    const re = dec > 0 ? new RegExp('^[0-9\\s\\u00a0]*([.,][0-9]{0,' + dec + '})?$') : /^[0-9\s\u00a0]*$/;
    if (!re.test(next)) ev.preventDefault();
  },

  controlsToInput() {
    const input = {};
    for (const [key, c] of Object.entries(this.controls)) {
      if (c.kind === 'yesno') {
        const sel = c.el.querySelector('input:checked');
        input[key] = sel ? sel.value : '';
      } else if (c.kind === 'text') input[key] = c.el.value.trim();
      else input[key] = c.el.value.trim();
    }
    return input;
  },

  inputToControls(input) {
    for (const [key, c] of Object.entries(this.controls)) {
      let v = input[key] === undefined || input[key] === null ? '' : String(input[key]);
      if (c.kind === 'region' && v === '-1') v = '';
      if (c.kind === 'yesno') {
        for (const r of c.el.querySelectorAll('input')) r.checked = r.value === v;
      } else if (c.kind === 'region') {
        if ([...c.el.options].some(o => o.value === v)) c.el.value = v;
      } else c.el.value = v;
    }
    this.nameOnEnter = this.nameText();
  },

  clearInputs() {
    this.inputToControls({});
    for (const c of Object.values(this.controls)) if (c.kind === 'region') c.el.value = '';
    this.nameOnEnter = '';
  },

  setLocked(locked) {
    for (const c of Object.values(this.controls)) {
      if (c.kind === 'yesno') c.el.querySelectorAll('input').forEach(i => { i.disabled = locked; });
      else c.el.disabled = locked;
    }
    for (const id of ['lookup', 'load-input']) { const b = document.getElementById(id); if (b) b.disabled = locked; }
  },

  nameText() { const c = this.controls[NAME_KEY]; return c ? c.el.value.trim() : ''; },

  // ---- navigation ------------------------------------------------------------
  bindButtons() {
    const on = (id, fn) => { const b = document.getElementById(id); if (b) b.addEventListener('click', () => this.guard(fn)); };
    on('bt-next', () => this.next());
    on('bt-back', () => this.back());
    on('bt-start-again', () => this.startAgain());
    on('bt-change-input', () => this.changeInput());
    on('lookup', () => this.lookup());
    on('save-input', () => this.saveInput());
    on('save-report', () => this.saveReport());
    on('copy-report', () => this.copyReport());
    on('print-report', () => window.print());
    on('load-input', () => document.getElementById('load-input-file').click());
    on('open-batch', () => this.openSide('batch'));
    on('open-batch-2', () => this.openSide('batch'));
    on('open-refdata', () => this.openSide('refdata'));
    on('open-profile', () => this.openSide('profile'));
    document.getElementById('load-input-file').addEventListener('change', ev => this.guard(() => this.loadInput(ev.target)));
    const name = this.controls[NAME_KEY];
    if (name) {
      name.el.addEventListener('focus', () => { this.nameOnEnter = this.nameText(); });
      name.el.addEventListener('blur', () => {
        // a changed name forgets the code
        if (this.nameText() !== this.nameOnEnter && this.controls.Kod) this.controls.Kod.el.value = '';
        const lb = document.getElementById('lookup');
        if (lb && !this.locked) lb.disabled = this.nameText() === '';
      });
    }
  },

  async guard(fn) {
    if (this.busy) return;
    this.busy = true;
    try { await fn(); } catch (e) {
      let m = String(e && e.message ? e.message : e);
      if (m && m.charCodeAt(m.length - 1) > 46) m += '.';
      await showMessage(m, 'ZEVRAModel');
    } finally { this.busy = false; }
  },

  renderTabs() {
    const nav = document.getElementById('tabs');
    clearNode(nav);
    // a side page (profile, batch, reference data) is left by its own button
    nav.hidden = this.side !== null;
    PAGES.forEach((p, i) => {
      if (!this.visible.has(i)) return;
      const b = el('button', { type: 'button', class: 'tab', text: TITLES[i], 'aria-current': (!this.side && i === this.active) ? 'page' : null });
      b.addEventListener('click', () => this.guard(() => this.showPage(i)));
      nav.append(b);
    });
  },

  async showPage(i) {
    this.status('');
    this.active = i;
    this.side = null;
    PAGES.forEach((p, j) => { document.getElementById('page-' + p).hidden = j !== i; });
    SIDE_PAGES.forEach(p => { document.getElementById('page-' + p).hidden = true; });
    document.getElementById('wizard-buttons').hidden = false;
    this.renderTabs();
    this.updateButtons();
    if (PAGES[i] === 'validation' && !this.output) await this.showValidation();
    if (PAGES[i] === 'result' && !this.output) await this.evaluate();
    this.updateButtons();
  },

  updateButtons() {
    const vis = i => this.visible.has(i);
    const a = this.active;
    let before = false, after = false;
    for (const i of this.visible) { if (i < a) before = true; if (i > a) after = true; }
    const next = after || a === 0 || a === 3 || (a === 4 && this.errors === 0 && this.validated);
    document.getElementById('bt-back').disabled = !before;
    document.getElementById('bt-next').disabled = !next;
    document.getElementById('bt-start-again').disabled = !vis(1);
    document.getElementById('bt-change-input').disabled = !vis(5);
  },

  async next() {
    const n = this.active + 1;
    if (n >= PAGES.length) return;
    if (n === 1) [1, 2, 3].forEach(i => this.visible.add(i));
    else this.visible.add(n);
    await this.showPage(n);
    this.focusPage();
  },

  async back() {
    for (let i = this.active - 1; i >= 0; i--) {
      if (this.visible.has(i)) { await this.showPage(i); this.focusPage(); return; }
    }
  },

  focusPage() {
    const page = document.getElementById('page-' + PAGES[this.active]);
    const first = page.querySelector('input:not([disabled]):not([hidden]), select:not([disabled]), #validation, #report');
    if (first) first.focus(); else document.getElementById('bt-next').focus();
  },

  resetState() {
    this.output = null;
    this.validated = false;
    this.errors = 0;
    clearNode(document.getElementById('report'));
    this.locked = false;
    this.setLocked(false);
    ZevraProfile.clear();
  },

  async startAgain() {
    if (!await askYesNo('Novým zahájením dojde k vynulování všech zadaných i vypočtených dat.\nOpravdu chcete začít znovu?')) return;
    this.resetWizard();
  },

  resetWizard() {
    this.clearInputs();
    this.resetState();
    this.visible = new Set([0]);
    this.showPage(0);
  },

  async changeInput() {
    if (!await askYesNo('Povolením úprav vstupů dojde k vynulování vypočtených dat.\nOpravdu chcete vstup upravit?')) return;
    this.resetState();
    this.visible.delete(4);
    this.visible.delete(5);
    await this.showPage(1);
    this.focusPage();
  },

  openSide(name) {
    if (name === 'profile' && !this.output) return;
    this.status('');
    this.side = name;
    PAGES.forEach(p => { document.getElementById('page-' + p).hidden = true; });
    SIDE_PAGES.forEach(p => { document.getElementById('page-' + p).hidden = p !== name; });
    document.getElementById('wizard-buttons').hidden = true;
    this.renderTabs();
    if (name === 'profile') ZevraProfile.show(this.output);
    if (name === 'refdata') ZevraRefData.show();
    const page = document.getElementById('page-' + name);
    const first = page.querySelector('button, input, [tabindex="0"]');
    if (first) first.focus();
  },

  closeSide() {
    if (!this.side) return;
    const was = this.side;
    this.side = null;
    // after a batch the wizard starts again empty, as the desktop's does
    if (was === 'batch') this.resetWizard(); else this.showPage(this.active);
    this.focusPage();
  },

  // ---- lookup, validation, evaluation -------------------------------------
  async lookup() {
    const name = this.nameText();
    const r = await this.core.call('findMunicipality', name);
    const found = r.obce || [];
    if (r.zprava) { await showMessage(r.zprava, 'Upozornění'); return; }
    if (found.length === 1) { this.controls.Kod.el.value = String(found[0].kod); return; }
    if (found.length === 0) return;
    const lines = found.map(o => o.popis || (o.nazev + ' (okr. ' + (o.okres || '') + ')'));
    const i = await showChoice(r.titulek || 'Výběr obce', r.vyzva || '', lines, 0);
    if (i >= 0) this.controls.Kod.el.value = String(found[i].kod);
    this.controls.Kod.el.focus();
  },

  async showValidation() {
    const input = this.controlsToInput();
    this.lastInput = input;
    const r = await this.core.call('validate', input);
    const rows = r.radky || [];
    const errors = rows.filter(x => x.uroven === 'CHYBA');
    const warnings = rows.filter(x => x.uroven !== 'CHYBA');
    this.errors = errors.length;
    this.validated = true;
    const box = document.getElementById('validation');
    clearNode(box);
    const line = (text, cls) => box.append(el('p', { class: cls || null, text }));
    const state = r.stav || (errors.length ? 'chyba' : warnings.length ? 'varovani' : 'ok');
    box.className = 'validation state-' + state;
    line(errors.length ? 'Stav: chyby – model nelze vyhodnotit.' : warnings.length ? 'Stav: varování – model lze vyhodnotit.' : 'Stav: v pořádku.', 'state');
    // the wizard's page text as the core gives it, each line marked by its kind
    for (const t of String(r.text || '').replace(/\n$/, '').split('\n')) {
      line(t, t.startsWith('CHYBA:') ? 'err' : t.startsWith('POZOR:') ? 'warn' : null);
    }
    this.updateButtons();
  },

  async evaluate() {
    const input = this.lastInput || this.controlsToInput();
    const out = await this.core.call('evaluate', input);
    if (out && out.ok === false) throw new Error(out.zprava);
    this.output = out;
    this.locked = true;
    this.setLocked(true);
    this.renderReport(out);
  },

  // One paragraph per report entry; "\r\n" inside an entry breaks the line.
  renderReport(out) {
    const box = document.getElementById('report');
    clearNode(box);
    for (const entry of (out.sestava && out.sestava.markup) || []) {
      const p = el('p', {});
      String(entry).split('\r\n').forEach((line, i) => {
        if (i > 0) p.append(el('br'));
        p.append(...markupToNodes(line));
      });
      if (entry === '') { p.className = 'empty'; p.append(el('br')); }
      box.append(p);
    }
  },

  fileBase() { const c = this.controls[NAME_KEY]; return c ? c.el.value : ''; },

  async saveReport() {
    const path = '/tmp/zprava.rtf';
    const r = await this.core.call('writeReportRtf', this.lastInput, path);
    if (r && r.ok === false) throw new Error(r.zprava);
    offerDownload(await this.core.readBlob(path, 'application/rtf'), this.fileBase() + '.rtf');
  },

  async copyReport() {
    const box = document.getElementById('report');
    const text = this.output.sestava.text;
    // no style attribute: the page's policy refuses inline styles, also here
    const html = '<div>' + this.output.sestava.html + '</div>';
    try {
      await navigator.clipboard.write([new ClipboardItem({
        'text/html': new Blob([html], { type: 'text/html' }),
        'text/plain': new Blob([text], { type: 'text/plain' }) })]);
    } catch (e) {
      // older browsers: copy the selected report, which gives both forms too
      const sel = window.getSelection();
      const range = document.createRange();
      range.selectNodeContents(box);
      sel.removeAllRanges();
      sel.addRange(range);
      const ok = document.execCommand('copy');
      sel.removeAllRanges();
      if (!ok) throw new Error('Výstup se nepodařilo zkopírovat do schránky');
    }
    this.status('Výstup byl zkopírován do schránky.');
  },

  async loadInput(fileInput) {
    const file = fileInput.files[0];
    fileInput.value = '';
    if (!file) return;
    const path = '/tmp/vstup.txt';
    await this.core.writeFile(path, await readFileBytes(file));
    const r = await this.core.call('readInputFile', path);
    if (!r || r.ok === false) throw new Error(r ? r.zprava : 'Soubor nelze načíst');
    this.inputToControls(r.vstup);
  },

  async saveInput() {
    const path = '/tmp/vstup-ulozit.txt';
    const r = await this.core.call('writeInputFile', this.lastInput || this.controlsToInput(), path);
    if (r && r.ok === false) throw new Error(r.zprava);
    offerDownload(await this.core.readBlob(path, 'text/plain'), this.fileBase() + '.txt');
    this.status('Vstupní data byla uložena.');
  },
};

function fmtNum(v) {
  const n = Number(v);
  if (!isFinite(n)) return String(v);
  return n.toLocaleString('cs-CZ', { maximumFractionDigits: 3 });
}

window.addEventListener('DOMContentLoaded', () => App.start());
