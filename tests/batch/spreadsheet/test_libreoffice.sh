#!/usr/bin/env bash
# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
# Batch files as LibreOffice Calc saves them: obce-cs.fods converted to CSV
# (";" separated, code page 1250 and UTF-8, with and without "quote all text
# cells", numbers as shown in the Czech format) must give the same HTML table
# as the same rows written in the original form (obce-cs-reference.csv).
# Usage: test_libreoffice.sh ZEVRA_CLI DATA_DIR SCRATCH_DIR
set -euo pipefail
cli=$1 data=$2 scratch=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$scratch" && mkdir -p "$scratch"
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cli" --data "$data" batch "$here/obce-cs-reference.csv" "$scratch/reference.html" 2>/dev/null \
  || fail "the reference file does not run"
# Tokens: separator ";", text delimiter '"', character set (33 = Windows-1250,
# 76 = UTF-8), first line, no column formats, language, quote all text cells,
# (import only), save cell contents as shown.
for charset in 33 76; do
  for quoteAll in false true; do
    out=$scratch/$charset-$quoteAll
    soffice -env:UserInstallation="file://$scratch/profile" --headless \
      --convert-to "csv:Text - txt - csv (StarCalc):59,34,$charset,1,,0,$quoteAll,true,true" \
      --outdir "$out" "$here/obce-cs.fods" >"$scratch/soffice.log" 2>&1 || { cat "$scratch/soffice.log"; fail "soffice"; }
    csv=$out/obce-cs.csv
    [[ -s $csv ]] || fail "no CSV from LibreOffice ($charset, $quoteAll)"
    grep -q '966,29' "$csv" || fail "no decimal comma in the LibreOffice CSV ($charset, $quoteAll)"
    "$cli" --data "$data" batch "$csv" "$out/obce.html" 2>"$out/batch.log" || { cat "$out/batch.log"; fail "batch refused the LibreOffice CSV ($charset, $quoteAll)"; }
    cmp "$scratch/reference.html" "$out/obce.html" || fail "another table from the LibreOffice CSV ($charset, $quoteAll)"
  done
done
echo OK
