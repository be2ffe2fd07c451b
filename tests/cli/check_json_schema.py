#!/usr/bin/env python3
# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
"""The JSON documents of zevra-cli against the schema in docs/json.md.

Checks, with Python's json module alone (a small validator of the part of
JSON Schema that the schema uses):
- the schema itself: every key has one type wherever it stands (null aside,
  which means "not known");
- the examples in docs/json.md;
- `evaluate --format json` of the example inputs, and the batch JSON of the
  example batch file on standard output and in a .json file (the same bytes);
- one municipality evaluated alone and in a batch gives the same values for
  every key of a batch row.

Usage: check_json_schema.py ZEVRA-CLI DATA-DIR EXAMPLES-DIR DOCS/JSON.md
"""
import json
import os
import re
import subprocess
import sys
import tempfile

failures = []


def fail(message):
    failures.append(message)


def resolve(schema, root):
    while "$ref" in schema:
        schema = root["$defs"][schema["$ref"].rsplit("/", 1)[1]]
    return schema


def type_matches(value, name):
    if name == "null":
        return value is None
    if name == "boolean":
        return isinstance(value, bool)
    if name == "integer":
        return isinstance(value, int) and not isinstance(value, bool)
    if name == "number":
        return isinstance(value, (int, float)) and not isinstance(value, bool)
    if name == "string":
        return isinstance(value, str)
    if name == "array":
        return isinstance(value, list)
    if name == "object":
        return isinstance(value, dict)
    raise ValueError("unknown type " + name)


KNOWN = {"$schema", "title", "$ref", "$defs", "type", "enum", "const", "minimum", "maximum", "properties",
         "required", "additionalProperties", "propertyNames", "items", "anyOf"}


def errors(value, schema, root, path):
    """The messages of what in `value` does not fit `schema`."""
    unknown = set(schema) - KNOWN
    if unknown:
        raise ValueError("the validator does not know " + ", ".join(sorted(unknown)))
    if "$ref" in schema:
        return errors(value, resolve(schema, root), root, path)
    if "anyOf" in schema:
        # Fits one choice, or the faults of the choice it comes closest to.
        choices = [errors(value, s, root, path) for s in schema["anyOf"]]
        return [] if not all(choices) else min(choices, key=len)
    found = []
    types = schema.get("type")
    if types is not None:
        types = types if isinstance(types, list) else [types]
        if not any(type_matches(value, t) for t in types):
            return [f"{path}: {json.dumps(value, ensure_ascii=False)[:60]} is not {'/'.join(types)}"]
    if value is None:
        return []
    if "enum" in schema and value not in schema["enum"]:
        found.append(f"{path}: {value!r} is not one of {schema['enum']}")
    if "const" in schema and value != schema["const"]:
        found.append(f"{path}: {value!r} is not {schema['const']!r}")
    if isinstance(value, (int, float)) and not isinstance(value, bool):
        if "minimum" in schema and value < schema["minimum"]:
            found.append(f"{path}: {value} below {schema['minimum']}")
        if "maximum" in schema and value > schema["maximum"]:
            found.append(f"{path}: {value} above {schema['maximum']}")
    if isinstance(value, dict):
        properties = schema.get("properties", {})
        for key in schema.get("required", []):
            if key not in value:
                found.append(f"{path}: {key} missing")
        names = schema.get("propertyNames")
        for key, item in value.items():
            if names is not None:
                found += errors(key, names, root, f"{path} key {key!r}")
            if key in properties:
                found += errors(item, properties[key], root, f"{path}.{key}")
            elif schema.get("additionalProperties") is False:
                found.append(f"{path}: {key} is not in the schema")
            elif isinstance(schema.get("additionalProperties"), dict):
                found += errors(item, schema["additionalProperties"], root, f"{path}.{key}")
    if isinstance(value, list) and "items" in schema:
        for i, item in enumerate(value):
            found += errors(item, schema["items"], root, f"{path}[{i}]")
    return found


def check(value, schema, root, label):
    for message in errors(value, schema, root, label)[:20]:
        fail(message)


def key_types(root):
    """Every key of every object in the schema with the forms it takes."""
    forms = {}

    def form(schema):
        if "$ref" in schema:
            return schema["$ref"]
        if "anyOf" in schema:
            return " | ".join(sorted(f for f in map(form, schema["anyOf"]) if f != "null"))
        types = schema.get("type", [])
        types = types if isinstance(types, list) else [types]
        return "/".join(sorted(t for t in types if t != "null")) or "null"

    def walk(schema, where):
        for key, sub in schema.get("properties", {}).items():
            forms.setdefault(key, {}).setdefault(form(sub), []).append(where)
            walk(sub, where + "." + key)
        for name in ("items", "additionalProperties"):
            if isinstance(schema.get(name), dict):
                walk(schema[name], where)
        for sub in schema.get("anyOf", []):
            walk(sub, where)

    for name, definition in root["$defs"].items():
        walk(definition, name)
    return forms


def run(cli, args, stdin=None):
    result = subprocess.run([cli] + args, input=stdin, capture_output=True)
    if result.returncode != 0:
        fail(f"zevra-cli {' '.join(args)}: status {result.returncode}: {result.stderr.decode(errors='replace')}")
        return None
    return result.stdout


def main():
    cli, data, examples, doc_path = sys.argv[1:5]
    with open(doc_path, encoding="utf-8") as f:
        doc = f.read()
    blocks = re.findall(r"^```json\n(.*?)^```$", doc, re.S | re.M)
    schema_at = doc.index("## Schema")
    schema_text = re.search(r"^```json\n(.*?)^```$", doc[schema_at:], re.S | re.M).group(1)
    root = json.loads(schema_text)
    documents = {"vyhodnoceni": root["$defs"]["vyhodnoceni"], "davka": root["$defs"]["davka"]}

    for key, found in sorted(key_types(root).items()):
        if len(found) > 1:
            fail(f"schema: key {key} has several types: {found}")

    examples_checked = 0
    for block in blocks:
        if block == schema_text:
            continue
        example = json.loads(block)
        check(example, root, root, "docs example")
        examples_checked += 1
    if examples_checked != 2:
        fail(f"docs/json.md: {examples_checked} examples instead of 2")

    evaluations = {}
    for name in ("obec.txt", "znevyhodnena-obec.txt"):
        out = run(cli, ["--data", data, "evaluate", os.path.join(examples, name), "--format", "json",
                        "--draws", "200"])
        if out is not None:
            evaluations[name] = json.loads(out)
            check(evaluations[name], documents["vyhodnoceni"], root, "evaluate " + name)

    with tempfile.TemporaryDirectory() as tmp:
        batch_file = os.path.join(examples, "obce.csv")
        piped = run(cli, ["--data", data, "batch", batch_file, "-", "--format", "json"])
        written = os.path.join(tmp, "vysledky.json")
        run(cli, ["--data", data, "batch", batch_file, written])
        if piped is not None:
            batch = json.loads(piped)
            check(batch, documents["davka"], root, "batch")
            if not batch["obce"]:
                fail("batch: no rows")
            with open(written, "rb") as f:
                if f.read() != piped:
                    fail("batch: standard output and the .json file differ")

        # Each example municipality alone and as a batch row: the same values.
        row_keys = root["$defs"]["obecDavky"]["properties"].keys()
        for name, one in evaluations.items():
            v = one["vstup"]
            values = [v["Obec"], v["Kod"], one["kraj"]["nazev"], v["ObyvateleCelkem"], v["ObyvateleEA"],
                      v["ObyvateleNezamestnani"], v["ObyvateleVyjizdejici"], v["NadmVyska"], v["KatastrCelkem"],
                      v["KrMestoMin"], v["OkrMestoKm"], v["Silnice1TrM"] / 1000, v["PodnikateleCelkem2006"],
                      v["PodnikateleRolnici2006"], v["DominantniZamestnavatel"], "Ano" if v["Vodovod"] else "Ne"]
            line = ";".join(str(int(x)) if isinstance(x, float) and x.is_integer() else str(x) for x in values)
            line += "\r\n"
            out = run(cli, ["--data", data, "batch", "-", "-", "--format", "json"], line.encode("utf-8"))
            if out is None:
                continue
            rows = json.loads(out)["obce"]
            if len(rows) != 1:
                fail(f"{name} as a batch: {len(rows)} rows")
                continue
            for key in row_keys:
                if rows[0][key] != one[key]:
                    fail(f"{name}: {key} is {rows[0][key]!r} in the batch, {one[key]!r} alone")

    for message in failures:
        print("FAIL " + message)
    print(f"{len(failures)} failures; {examples_checked} examples, {len(evaluations)} evaluations and the batch checked")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
