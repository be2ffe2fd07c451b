// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Reference data: the demonstration data built into the module, or the
// user's own five files, which stay in this page's memory only.

/* global showMessage, readFileBytes */
/* exported ZevraRefData */

const REF_FILES = ['DecilDists.txt', 'MuniInfo.txt', 'Regions.txt', 'SampMuni.txt', 'OWeights.txt'];
const USER_FOLDER = '/user-data';

const ZevraRefData = {
  app: null,
  current: null,

  async init(app) {
    this.app = app;
    this.current = await app.core.call('referenceData');
    this.showCurrent();
    const files = document.getElementById('refdata-files');
    files.addEventListener('change', () => { const list = [...files.files]; files.value = ''; this.load(list); });
    document.getElementById('refdata-choose').addEventListener('click', () => files.click());
    document.getElementById('refdata-demo').addEventListener('click', () => this.use('/data'));
    document.getElementById('close-refdata').addEventListener('click', () => app.closeSide());
  },

  showCurrent() {
    const c = this.current || {};
    document.getElementById('demo-notice').hidden = !c.demonstracni;
    document.getElementById('refdata-current').textContent = c.demonstracni
      ? 'Používají se demonstrační data dodaná se stránkou (ne oficiální čísla).'
      : 'Používají se vlastní referenční data načtená do této stránky.';
  },

  show() {
    this.showCurrent();
    document.getElementById('refdata-message').textContent = '';
  },

  message(text) { document.getElementById('refdata-message').textContent = text; },

  async load(list) {
    // the files are matched by name; a missing one is named by the core's message
    try {
      await this.app.core.clearFolder(USER_FOLDER);
      for (const f of list) {
        const name = REF_FILES.find(n => n.toLowerCase() === f.name.toLowerCase());
        if (name) await this.app.core.writeFile(USER_FOLDER + '/' + name, await readFileBytes(f));
      }
      await this.use(USER_FOLDER);
    } catch (e) {
      this.message(String(e && e.message ? e.message : e));
    }
  },

  async use(folder) {
    const r = await this.app.core.call('useReferenceData', folder);
    if (!r || r.ok === false) {
      this.message(r ? r.zprava : 'Referenční data nelze načíst.');
      await showMessage(r ? r.zprava : 'Referenční data nelze načíst.', 'ZEVRAModel');
      return;
    }
    this.current = r;
    // the regions and everything computed come from the data in use
    this.app.fields = await this.app.core.call('inputFields');
    this.app.refreshRegions();
    this.app.resetWizard();
    this.app.openSide('refdata');
    this.message(folder === '/data' ? 'Používají se opět demonstrační data.' : 'Referenční data byla načtena.');
  },
};
