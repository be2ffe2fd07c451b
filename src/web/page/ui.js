// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers every part of the page shares: elements, message boxes,
// the yes/no question, the choice list, downloads and file reading.

/* exported el, clearNode, showMessage, askYesNo, showChoice, offerDownload, readFileBytes, escapeHtml, markupToNodes */

function el(tag, attrs, ...children) {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(attrs || {})) {
    if (v === undefined || v === null || v === false) continue;
    if (k === 'class') e.className = v;
    else if (k === 'text') e.textContent = v;
    else if (k.startsWith('on')) e.addEventListener(k.substring(2), v);
    else e.setAttribute(k, v === true ? '' : v);
  }
  for (const c of children) if (c !== null && c !== undefined) e.append(c);
  return e;
}

function clearNode(node) { while (node.firstChild) node.removeChild(node.firstChild); }

function escapeHtml(s) {
  return String(s).replace(/[&<>"]/g, c => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' }[c]));
}

// The report's markup ([b] [/b] [i] [/i]) as text runs in <strong>/<em>;
// everything else stays text, so no markup can inject HTML.
function markupToNodes(line) {
  const out = [];
  let bold = false, italic = false, at = 0;
  const re = /\[(\/?)([bi])\]/g;
  const push = text => {
    if (!text) return;
    let node = document.createTextNode(text);
    if (italic) node = el('em', {}, node);
    if (bold) node = el('strong', {}, node);
    out.push(node);
  };
  let m;
  while ((m = re.exec(line)) !== null) {
    push(line.substring(at, m.index));
    if (m[2] === 'b') bold = !m[1]; else italic = !m[1];
    at = re.lastIndex;
  }
  push(line.substring(at));
  return out;
}

// One modal box: a title, a text, optional choices, and buttons; resolves
// with the value of the button pressed (Esc gives the cancel value).
function runDialog(title, text, buttons, choices) {
  const dlg = document.getElementById('dialog');
  document.getElementById('dialog-title').textContent = title;
  const textEl = document.getElementById('dialog-text');
  textEl.textContent = text || '';
  textEl.hidden = !text;
  const fs = document.getElementById('dialog-choices');
  const list = document.getElementById('dialog-choice-list');
  clearNode(list);
  fs.hidden = !choices;
  if (choices) {
    document.getElementById('dialog-choices-legend').textContent = choices.caption;
    choices.lines.forEach((line, i) => {
      const id = 'choice-' + i;
      list.append(el('div', { class: 'choice' },
        el('input', { type: 'radio', name: 'choice', id, value: String(i), checked: i === choices.initial }),
        el('label', { for: id, text: line })));
    });
  }
  const bar = document.getElementById('dialog-buttons');
  clearNode(bar);
  let cancelValue = null;
  for (const b of buttons) {
    bar.append(el('button', { type: 'submit', value: b.value, text: b.text, class: b.default ? 'default' : null }));
    if (b.cancel) cancelValue = b.value;
  }
  return new Promise(resolve => {
    const done = () => {
      dlg.removeEventListener('close', done);
      const v = dlg.returnValue || cancelValue;
      if (choices && v === 'ok') {
        const sel = list.querySelector('input:checked');
        resolve(sel ? Number(sel.value) : -1);
      } else resolve(choices ? -1 : v);
    };
    dlg.returnValue = '';
    dlg.addEventListener('close', done);
    dlg.showModal();
    const focus = (choices && list.querySelector('input:checked')) || bar.querySelector('.default') || bar.querySelector('button');
    if (focus) focus.focus();
  });
}

function showMessage(text, title) {
  return runDialog(title || 'ZEVRA Model', text, [{ value: 'ok', text: 'OK', default: true, cancel: true }]);
}

async function askYesNo(text) {
  const v = await runDialog('Otázka', text, [
    { value: 'yes', text: 'Ano' }, { value: 'no', text: 'Ne', default: true, cancel: true }]);
  return v === 'yes';
}

// The choice list: returns the chosen index, or -1 when cancelled.
function showChoice(caption, question, lines, initial) {
  return runDialog(caption, question, [
    { value: 'ok', text: 'Vyber', default: true }, { value: 'cancel', text: 'Storno', cancel: true }],
  { caption, lines, initial });
}

function offerDownload(bytes, name, type) {
  const blob = bytes instanceof Blob ? bytes : new Blob([bytes], { type: type || 'application/octet-stream' });
  const url = URL.createObjectURL(blob);
  const a = document.getElementById('download');
  a.href = url;
  a.download = name;
  a.click();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

function readFileBytes(file) {
  return new Promise((resolve, reject) => {
    const r = new FileReader();
    r.onload = () => resolve(new Uint8Array(r.result));
    r.onerror = () => reject(new Error('Soubor „' + file.name + '“ nelze přečíst.'));
    r.readAsArrayBuffer(file);
  });
}
