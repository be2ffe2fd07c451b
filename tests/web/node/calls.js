#!/usr/bin/env node
// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The module's calls where the page differs from a file: typed texts (a
// decimal comma, grouped digits, what is no number), the lookup's messages,
// the check page's text, damaged reference data, the batch's row pages and
// an unknown format. A table of cases; node only.
//
//   node tests/web/node/calls.js [--module build-web/core/zevra-core.js]
'use strict';

const fs = require('fs');
const path = require('path');

const root = path.resolve(__dirname, '..', '..', '..');
const moduleIndex = process.argv.indexOf('--module');
const modulePath = moduleIndex > 0 ? path.resolve(process.argv[moduleIndex + 1])
                                   : path.join(root, 'build-web', 'core', 'zevra-core.js');

// examples/obec.txt as the page would type it.
const typed = {
  InputData: 'Hněvkovice u Opavy', Kraj: '13', Kod: '596835', ObyvateleCelkem: '1 593', ObyvateleEA: '733',
  ObyvateleNezamestnani: '52', ObyvateleVyjizdejici: '426', NadmVyska: '412', KatastrCelkem: '444,65',
  KrMestoMin: '30', OkrMestoKm: '12', Silnice1TrKm: '4,7', PodnikateleCelkem2006: '264',
  PodnikateleRolnici2006: '20', DominantniZamestnavatel: '71', Vodovod: 'T',
};
const withValues = values => JSON.stringify({ ...typed, ...values });

// [name, call(z) -> answer object, check(answer) -> true or a description]
const cases = [
  ['typed input with a decimal comma and grouped digits reads as the file',
   z => JSON.parse(z.validate(withValues({}))),
   a => a.stav === 'ok' && a.text === 'Vstupní data prošla kontrolou bez chyb nebo varování.'],
  ['the road in km with a comma gives the file\'s metres',
   z => { z.writeInputFile(withValues({ Silnice1TrKm: '1,005' }), '/tmp/o.txt');
          return { text: new TextDecoder('latin1').decode(z.FS.readFile('/tmp/o.txt')) }; },
   a => a.text.includes('Silnice1TrM=1005\r\n')],
  ['text that is no number is the first error, named by the field',
   z => JSON.parse(z.validate(withValues({ ObyvateleEA: 'sedm' }))),
   a => a.stav === 'chyba' && a.radky[0].text ===
        'CHYBA: Počet ekonomicky aktivních obyvatel - Zadejte číslo (číslice, nejvýše jedna desetinná čárka).'],
  ['a fraction in a whole-number field refuses the evaluation',
   z => JSON.parse(z.evaluate(withValues({ KrMestoMin: '30,5' }))),
   a => a.ok === false && a.zprava ===
        'CHYBA: Dojížďkový čas do krajského města [minuty] - Zadejte celé číslo, bez desetinné čárky.'],
  ['an empty field is 0 and validation says so',
   z => JSON.parse(z.validate(withValues({ ObyvateleCelkem: '' }))),
   a => a.stav === 'chyba' && a.radky.some(r => r.text === 'CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!')
        && a.text.startsWith('Ve vstupních datech bylo nalezeno ')],
  ['a warning gives the yellow state',
   z => JSON.parse(z.validate(withValues({ ObyvateleCelkem: '3 100' }))),
   a => a.stav === 'varovani' && a.radky.length === 1 && a.radky[0].uroven === 'POZOR'],
  ['a lone surrogate (no Unicode text) is refused with a message',
   z => JSON.parse(z.evaluate(withValues({ InputData: 'Lhota \uD800' }))),
   a => a.ok === false && a.zprava === 'Vstupní data nejsou platný objekt JSON.'],
  ['input that is no JSON object is refused with a message',
   z => JSON.parse(z.evaluate('[1, 2]')),
   a => a.ok === false && a.zprava.length > 0],
  ['a unique name gives its code',
   z => JSON.parse(z.findMunicipality('  Hněvkovice u Opavy ')),
   a => a.zprava === '' && a.obce.length === 1 && a.obce[0].kod === 596835],
  ['an unknown name gives the wizard\'s message',
   z => JSON.parse(z.findMunicipality('Neexistující Lhota')),
   a => a.obce.length === 0 && a.zprava === 'Obec s tímto názvem nebyla nalezena v seznamu obcí ČR'],
  ['a name shared by 2 to 14 municipalities is a choice "Název (okr. Okres)"',
   z => JSON.parse(z.findMunicipality('Lhota')),
   a => (a.obce.length >= 2 && a.obce.length <= 14 && a.zprava === '' && /^Lhota \(okr\. .+\)$/.test(a.obce[0].popis)) ||
        (a.obce.length === 0 && a.zprava === 'Tomuto názvu vyhovuje přliš mnoho obcí, prosím upřesněte')],
  ['every field of the form has its label, and the regions come from the data',
   z => JSON.parse(z.inputFields()),
   a => a.skupiny.length === 3 && a.skupiny.flatMap(g => g.pole).length === 16 && a.kraje.length > 0 &&
        a.skupiny[0].pole[0].popisek === 'Název obce:'],
  ['damaged reference data are refused naming the file, and the data in use stay',
   z => { z.FS.mkdirTree('/bad');
          for (const n of ['DecilDists', 'MuniInfo', 'Regions', 'SampMuni', 'OWeights']) z.FS.writeFile(`/bad/${n}.txt`, z.FS.readFile(`/data/${n}.txt`));
          z.FS.writeFile('/bad/OWeights.txt', 'OWeights=1\ndck=abc\n');
          return { use: JSON.parse(z.useReferenceData('/bad')), now: JSON.parse(z.referenceData()) }; },
   a => a.use.ok === false && a.use.zprava.includes('/bad/OWeights.txt') && a.now.slozka === '/data' && a.now.demonstracni],
  ['a missing batch file is a failure with a message',
   z => JSON.parse(z.batchLoad('/tmp/nic.csv')),
   a => a.ok === false && a.zprava.length > 0],
  ['the batch rows come in pages, with their state and lines',
   z => { z.FS.writeFile('/tmp/obce.csv', fs.readFileSync(path.join(root, 'examples', 'obce-chybne.csv')));
          const loaded = JSON.parse(z.batchLoad('/tmp/obce.csv', null));
          return { loaded, page: JSON.parse(z.batchRows(1, 2)), run: JSON.parse(z.batchRun()) }; },
   a => a.loaded.platne === false && a.page.radky.length === 2 && a.page.radky[0].radek === 1 &&
        a.run.ok === false && a.run.zprava === 'Vstupní data obsahují chyby!'],
  ['an unknown output format is refused; the formats are html and json',
   z => ({ write: JSON.parse(z.batchWrite('xlsx', '/tmp/x.xlsx')), formats: JSON.parse(z.outputFormats()) }),
   a => a.write.ok === false && a.formats.map(f => f.nazev).join() === 'html,json'],
];

(async () => {
  const z = await require(modulePath)();
  let failures = 0;
  for (const [name, call, check] of cases) {
    let answer;
    let verdict;
    try {
      answer = call(z);
      verdict = check(answer);
    } catch (e) {
      verdict = `threw ${e && e.stack || e}`;
    }
    if (verdict === true) {
      console.log(`ok   ${name}`);
    } else {
      failures++;
      console.log(`FAIL ${name}: ${typeof verdict === 'string' ? verdict : JSON.stringify(answer).slice(0, 400)}`);
    }
  }
  console.log(`${cases.length - failures} passed, ${failures} failed`);
  process.exit(failures ? 1 : 0);
})().catch(e => {
  console.error(`calls.js: ${e && e.stack || e}`);
  process.exit(2);
});
