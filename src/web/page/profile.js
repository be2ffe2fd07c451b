// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The decile profile: the deciles as an SVG bar chart beside those of a chosen
// similar municipality, how robust the band is to the weights, the similar
// municipalities and what makes each less similar.

/* global el, clearNode, offerDownload */
/* exported ZevraProfile */

const SVG_NS = 'http://www.w3.org/2000/svg';

function svg(tag, attrs, text) {
  const e = document.createElementNS(SVG_NS, tag);
  for (const [k, v] of Object.entries(attrs || {})) e.setAttribute(k, String(v));
  if (text !== undefined) e.textContent = text;
  return e;
}

const ZevraProfile = {
  app: null,
  output: null,
  chosen: 0,

  init(app) {
    this.app = app;
    document.getElementById('close-profile').addEventListener('click', () => app.closeSide());
    document.getElementById('save-svg').addEventListener('click', () => this.saveSvg());
  },

  clear() { this.output = null; this.chosen = 0; },

  show(output) {
    if (this.output !== output) { this.output = output; this.chosen = 0; }
    this.render();
  },

  indicators() {
    const out = this.output;
    const weights = {};
    for (const i of out.indikatory || []) weights[i.indikator] = i.vaha;
    const list = (out.profil && out.profil.decily) || out.indikatory || [];
    return list.map(d => ({ kod: d.indikator, nazev: d.nazev, decil: d.decil, vaha: weights[d.indikator] }));
  },

  render() {
    const out = this.output;
    const similar = out.podobneObce || [];
    const other = similar[this.chosen] || null;
    this.renderChart(this.indicators(), other);
    const sentence = (out.profil && out.profil.shrnuti) || (out.citlivost && out.citlivost.shrnuti) || '';
    document.getElementById('profile-robust').textContent = sentence;
    this.renderSimilar(similar);
    this.renderTerms(other);
  },

  renderChart(inds, other) {
    const out = this.output;
    const W = 900, labelW = 390, top = 56, rowH = 36, axisH = 34;
    const H = top + rowH * inds.length + axisH;
    const plotW = W - labelW - 20;
    const x = d => labelW + (plotW * d) / 10;
    const band = out.pasmo ? out.pasmo.rozsah : '';
    const title = (out.obec || '') + ' – Obyvatelstvo: ' + Number(out.obyvatelstvo).toFixed(1) + (band ? ', pásmo ' + band : '');
    const root = svg('svg', { xmlns: SVG_NS, viewBox: '0 0 ' + W + ' ' + H, width: W, height: H, role: 'img', 'aria-labelledby': 'chart-title chart-desc', class: 'decile-chart' });
    root.append(svg('title', { id: 'chart-title' }, 'Profil obce: ' + title));
    const desc = inds.map(i => i.nazev + ': decil ' + i.decil + (other ? ', ' + other.obec + ' ' + other.decily[i.kod] : '')).join('; ');
    root.append(svg('desc', { id: 'chart-desc' }, desc));
    root.append(svg('rect', { x: 0, y: 0, width: W, height: H, fill: '#ffffff', class: 'bg' }));
    root.append(svg('text', { x: 8, y: 20, 'font-weight': 'bold', 'font-size': 15, fill: '#000000', class: 'ink' }, title));
    // legend
    const legend = [[out.obec, 'ours', '#0a5aa0']];
    if (other) legend.push([other.obec, 'theirs', '#e8891c']);
    let lx = 8;
    for (const [name, cls, fill] of legend) {
      root.append(svg('rect', { x: lx, y: 30, width: 12, height: 12, fill, class: cls }));
      const t = svg('text', { x: lx + 18, y: 41, 'font-size': 13, fill: '#000000', class: 'ink' }, name);
      root.append(t);
      lx += 30 + 8 * String(name).length;
    }
    // deciles 9 and 10 mark a disadvantage
    root.append(svg('rect', { x: x(8), y: top - 6, width: x(10) - x(8), height: rowH * inds.length + 6, fill: '#fde0e0', class: 'bad' }));
    for (let d = 1; d <= 10; d++) {
      root.append(svg('line', { x1: x(d), y1: top - 6, x2: x(d), y2: top + rowH * inds.length, stroke: '#c8c8c8', class: 'gridline' }));
      root.append(svg('text', { x: x(d), y: H - 12, 'text-anchor': 'middle', 'font-size': 13, fill: '#000000', class: 'ink' }, String(d)));
    }
    root.append(svg('line', { x1: x(0), y1: top - 6, x2: x(0), y2: top + rowH * inds.length, stroke: '#000000', class: 'axis' }));
    root.append(svg('text', { x: labelW - 8, y: H - 12, 'text-anchor': 'end', 'font-size': 13, fill: '#000000', class: 'ink' }, 'decil (1 nejlepší, 10 nejhorší)'));
    inds.forEach((ind, i) => {
      const y = top + i * rowH;
      const label = ind.nazev + (ind.vaha !== undefined ? ' (váha ' + Number(ind.vaha).toFixed(0) + ')' : '');
      root.append(svg('text', { x: labelW - 8, y: y + rowH / 2 + 4, 'text-anchor': 'end', 'font-size': 13, fill: '#000000', class: 'ink' }, label));
      const h = other ? 12 : 20;
      root.append(svg('rect', { x: x(0), y: y + 6, width: x(ind.decil) - x(0), height: h, fill: '#0a5aa0', class: 'bar ours' }));
      if (other) {
        const d = other.decily[ind.kod];
        root.append(svg('rect', { x: x(0), y: y + 6 + h, width: x(d) - x(0), height: h, fill: '#e8891c', class: 'bar theirs' }));
      }
    });
    const box = document.getElementById('profile-chart');
    clearNode(box);
    box.append(root);
  },

  renderSimilar(similar) {
    const t = document.getElementById('similar');
    clearNode(t);
    t.append(el('thead', {}, el('tr', {}, ...['Obec', 'Okres', 'Kraj', 'Obyvatel', 'Podobnost'].map(h => el('th', { scope: 'col', text: h })))));
    const body = el('tbody');
    similar.forEach((s, i) => {
      const pick = el('button', { type: 'button', class: 'link', 'aria-pressed': i === this.chosen ? 'true' : 'false', text: s.obec,
        'aria-label': s.obec + ', vybrat pro srovnání' });
      pick.addEventListener('click', () => {
        this.chosen = i;
        this.render();
        const again = document.querySelectorAll('#similar button')[i];
        if (again) again.focus();
      });
      body.append(el('tr', { class: i === this.chosen ? 'chosen' : null },
        el('td', {}, pick), el('td', { text: s.okres }), el('td', { text: s.kraj && typeof s.kraj === 'object' ? s.kraj.nazev : s.kraj }),
        el('td', { class: 'num', text: String(s.obyvatel) }), el('td', { class: 'num', text: Number(s.podobnost).toFixed(1) })));
    });
    t.append(body);
  },

  renderTerms(other) {
    const t = document.getElementById('terms');
    clearNode(t);
    t.append(el('thead', {}, el('tr', {}, ...['Indikátor', 'Obec', 'Podobná', 'Podíl'].map(h => el('th', { scope: 'col', text: h })))));
    const body = el('tbody');
    if (other) {
      let sum = 0;
      for (const ind of this.indicators()) {
        const share = Number(other.podilNaPodobnosti[ind.kod]);
        sum += share;
        body.append(el('tr', {}, el('th', { scope: 'row', text: ind.nazev }), el('td', { class: 'num', text: String(ind.decil) }),
          el('td', { class: 'num', text: String(other.decily[ind.kod]) }), el('td', { class: 'num', text: share.toFixed(2) })));
      }
      body.append(el('tr', { class: 'total' }, el('th', { scope: 'row', text: 'Celkem (podobnost)' }), el('td'), el('td'),
        el('td', { class: 'num', text: sum.toFixed(2) })));
    }
    t.append(body);
  },

  saveSvg() {
    const node = document.querySelector('#profile-chart svg');
    if (!node) return;
    const text = '<?xml version="1.0" encoding="UTF-8"?>\n' + new XMLSerializer().serializeToString(node);
    offerDownload(new Blob([text], { type: 'image/svg+xml' }), (this.output.obec || 'profil') + '.svg');
  },
};
