#!/usr/bin/env python3
# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates the demonstration reference data and the example files of ZEVRA Model.

The figures are invented: they follow plausible distributions for small
Czech municipalities but they are not official statistics.  The script uses
the standard library only and a fixed random seed, so every run writes the
same bytes.

    python3 src/data/gen_data.py                # data in src/data, examples in examples/
    python3 src/data/gen_data.py --full OUTDIR  # full-size data set for benchmarks

All files are written in code page 1250 with CR LF line ends.  The script
evaluates the example inputs with the same rules as the model (deciles,
employer correction, similar municipalities) and stops with an error when an
example no longer shows what it is meant to show.
"""

import argparse
import math
import os
import random
import sys

SEED = 20061
FULL_SEED = 63000

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_DATA_DIR = HERE
DEFAULT_EXAMPLES_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "examples"))

DATA_COMMENT = ("# Demonstracni data vygenerovana skriptem gen_data.py (pevne "
                "nastaveny generator nahodnych cisel), nejde o oficialni udaje.")

CODES = ("dck", "dvo", "vs1", "nvr", "vkt", "vea", "rps")
WEIGHTS = {"dck": 10, "dvo": 10, "vs1": 10, "nvr": 20, "vkt": 10, "vea": 20, "rps": 20}

# Quantile anchors of each indicator among municipalities of 500-3000
# inhabitants: the minimum, the nine decile boundaries (Value1..Value9) and the
# maximum.  A higher value is always the worse one (Asc = T).
QUANTILES = {
    "dck": [5, 15, 21, 27, 32, 37, 43, 50, 59, 72, 100],          # minutes
    "dvo": [1, 4, 6, 8, 10, 12, 14, 16, 19, 24, 35],              # km
    "vs1": [0, 200, 700, 1300, 2000, 2800, 3800, 5000, 6800, 9800, 16000],  # metres
    "nvr": [-200, -95, -65, -40, -18, 5, 30, 60, 100, 160, 340],  # metres above region
    "vkt": [120, 320, 420, 520, 620, 730, 860, 1010, 1230, 1600, 3600],  # hectares
    "vea": [20, 48, 54, 58, 62, 65.5, 68.5, 71.5, 75, 79.5, 95],  # % commuting out
    "rps": [0, 1.5, 2.5, 3.5, 4.6, 5.8, 7, 8.5, 10.5, 13.5, 30],  # % farmers
}

# Region number, name (as typed in a batch file), average altitude in metres,
# districts.
REGIONS = [
    (1, "Středočeský", 342, ["Benešov", "Beroun", "Kladno", "Kolín", "Kutná Hora", "Mělník",
                             "Mladá Boleslav", "Nymburk", "Praha-východ", "Praha-západ",
                             "Příbram", "Rakovník"]),
    (2, "Jihočeský", 548, ["České Budějovice", "Český Krumlov", "Jindřichův Hradec", "Písek",
                           "Prachatice", "Strakonice", "Tábor"]),
    (3, "Plzeňský", 496, ["Domažlice", "Klatovy", "Plzeň-jih", "Plzeň-sever", "Rokycany",
                          "Tachov"]),
    (4, "Karlovarský", 612, ["Cheb", "Karlovy Vary", "Sokolov"]),
    (5, "Ústecký", 361, ["Děčín", "Chomutov", "Litoměřice", "Louny", "Most", "Teplice",
                         "Ústí nad Labem"]),
    (6, "Liberecký", 455, ["Česká Lípa", "Jablonec nad Nisou", "Liberec", "Semily"]),
    (7, "Královéhradecký", 407, ["Hradec Králové", "Jičín", "Náchod", "Rychnov nad Kněžnou",
                                 "Trutnov"]),
    (8, "Pardubický", 418, ["Chrudim", "Pardubice", "Svitavy", "Ústí nad Orlicí"]),
    (9, "Vysočina", 553, ["Havlíčkův Brod", "Jihlava", "Pelhřimov", "Třebíč",
                          "Žďár nad Sázavou"]),
    (10, "Jihomoravský", 307, ["Blansko", "Brno-venkov", "Břeclav", "Hodonín", "Vyškov",
                               "Znojmo"]),
    (11, "Olomoucký", 398, ["Jeseník", "Olomouc", "Prostějov", "Přerov", "Šumperk"]),
    (12, "Zlínský", 381, ["Kroměříž", "Uherské Hradiště", "Vsetín", "Zlín"]),
    (13, "Moravskoslezský", 423, ["Bruntál", "Frýdek-Místek", "Karviná", "Nový Jičín",
                                  "Opava"]),
]
REGION_BY_NUMBER = {r[0]: r for r in REGIONS}
# Roughly how many municipalities each region has; used to spread the list.
REGION_SHARE = {1: 1145, 2: 624, 3: 501, 4: 132, 5: 354, 6: 215, 7: 448, 8: 451, 9: 704,
                10: 673, 11: 402, 12: 307, 13: 300}

BASE_NAMES = """
Adamov Albrechtice Babice Bačkov Bartošovice Bělá Bezděkov Bílsko Bítovany Blatnice
Bohdalice Bohuslavice Bolehošť Borovnice Borová Bořetice Bratčice Brloh Brodek Bukovany
Bystřice Čáslavice Čeňkov Černotín Čestice Chlumec Chrášťany Chvalkovice Cerhonice
Dalovice Dešná Dobrá Dobšice Domašov Doubravice Drahonice Drnholec Dubné Hamry Heřmanice
Hlinná Hodějice Holubice Horka Hostěrádky Hradčany Hrušovany Hvozdnice Jamné Janovice
Javorník Jesenice Jezernice Kačice Kladruby Klokočov Kněžice Kostelec Kozlovice Kralice
Krásná Křenovice Kunčice Kyjovice Lažany Lesná Libčany Libějovice Lipník Lomnice Loučka
Lukov Malonty Meziříčí Milotice Mírov Mladějov Mokrá Morašice Myslejovice Nedvězí Němčice
Nezdice Nosislav Obora Okrouhlá Olbramovice Opatovice Ořechov Osek Otice Paseka Pavlov
Pchery Pěčín Pohled Popovice Prusinovice Přestavlky Pustějov Radějov Radkov Radonice
Rapotice Rataje Rokytnice Rovensko Rudná Rybníček Skalice Slavětín Smilovice Sobotín
Soběšice Stašov Stráž Střítež Studená Sudice Svatobořice Šanov Šitbořice Štěpánov Tasovice
Tetčice Těšetice Tichá Tlumačov Trnava Tučapy Tvarožná Uhřice Únanov Věžnice Vícov
Vilémov Vlčnov Vranov Všechovice Výšovice Záhoří Zálesí Zbraslav Zdounky Zhoř
Želešice Žichlínek Žíšov Bohuňovice Branišov Buková Cetoraz Chudobín Čermná
Drahotuše Dlouhá_Loučka Hněvkovice Hořepník Jankov Kamýk Kosov Kotvrdovice Křižanov Lhotka Libotov
Ludmírov Mašovice Nemojany Nětčice Oldřichov Pacov Pasohlávky Perštejn Pikárec Pohoří
Radslavice Řepníky Ruda Senice Sklené Slatina Stebno Suchdol Šebetov Trhovice Třebětín
Újezdec Valšov Vápenná Věrovany Vidonín Vojnice Vrchoslav Zárybnice Zborovice Ždánice
Bohdíkov Dobřenice Hrádek Kaliště Lázně Libice Neratov Oskava Polerady Přibyslavice
Rychnov Sádek Temešvár Úsobí Velešín Žďárec
""".split()
# Two-word base names are written with "_" for the blank above.
BASE_NAMES = [n.replace("_", " ") for n in BASE_NAMES]

# Qualifiers as Czech municipality names use them.  "Horní", "Dolní",
# "Přední" and "Zadní" keep their form for every gender.
PREFIXES = ["Horní ", "Dolní ", "Přední ", "Zadní "]
# Suffix and the regions it fits.
SUFFIXES = [
    (" u Brna", [10]), (" u Jihlavy", [9]), (" u Tábora", [2]), (" u Plzně", [3]),
    (" u Olomouce", [11]), (" u Písku", [2]), (" u Třebíče", [9]), (" u Kolína", [1]),
    (" u Chrudimi", [8]), (" u Rokycan", [3]), (" u Jičína", [7]), (" u Znojma", [10]),
    (" u Klatov", [3]), (" u Strakonic", [2]), (" u Poličky", [8]), (" u Litomyšle", [8]),
    (" u Vyškova", [10]), (" u Kroměříže", [12]), (" u Chebu", [4]), (" u Liberce", [6]),
    (" u Opavy", [13]), (" u Loun", [5]), (" u Benešova", [1]),
    (" nad Sázavou", [1, 9]), (" nad Labem", [1, 5, 7, 8]), (" nad Vltavou", [1, 2]),
    (" nad Orlicí", [7, 8]), (" nad Jizerou", [1, 6]), (" nad Oslavou", [9, 10]),
    (" nad Moravou", [11, 12]), (" nad Ohří", [4, 5]), (" nad Metují", [7]),
    (" nad Nisou", [6]), (" nad Svitavou", [8, 10]), (" nad Jihlavou", [9, 10]),
    (" nad Bečvou", [11, 12]), (" nad Odrou", [13]), (" nad Otavou", [2, 3]),
    (" nad Lužnicí", [2]), (" pod Radhoštěm", [12, 13]), (" pod Ještědem", [6]),
    (" pod Sněžkou", [7]), (" pod Blaníkem", [1]),
]

# Names shared by several municipalities of the demonstration list, with the
# number of municipalities (each in another district).  "Nová Ves" is the one
# name shared by 15 or more.
SHARED_NAMES = {
    "Nová Ves": 16, "Lhota": 13, "Březová": 9, "Petrovice": 8, "Dolany": 7, "Újezd": 6,
    "Lipová": 5, "Kamenice": 4, "Olešnice": 4, "Bukovina": 3, "Horní Lhota": 3,
    "Vrbice": 3, "Sedlec": 2, "Chlum": 2, "Zahořany": 2, "Stará Ves": 2,
}

# Typical profiles of municipalities: the percentile (0..1) of each indicator
# in the order dck, dvo, vs1, nvr, vkt, vea, rps.  Real municipalities cluster
# like this, which is what makes the similar-municipality search meaningful.
CLUSTERS = {
    "suburban": [0.10, 0.25, 0.20, 0.35, 0.30, 0.78, 0.18],
    "lowland_farming": [0.45, 0.40, 0.45, 0.18, 0.50, 0.50, 0.82],
    "average_rural": [0.50, 0.50, 0.50, 0.50, 0.45, 0.50, 0.50],
    "remote_upland": [0.80, 0.75, 0.75, 0.80, 0.72, 0.62, 0.62],
    "mountain": [0.75, 0.60, 0.50, 0.95, 0.85, 0.35, 0.30],
    "local_centre": [0.35, 0.40, 0.15, 0.45, 0.60, 0.20, 0.25],
    "borderland": [0.90, 0.85, 0.60, 0.60, 0.80, 0.80, 0.45],
}
CLUSTER_WEIGHTS = {"suburban": 16, "lowland_farming": 16, "average_rural": 26,
                   "remote_upland": 14, "mountain": 8, "local_centre": 10, "borderland": 10}
UPLAND_REGIONS = {2, 3, 4, 5, 6, 7, 11, 13}
LOWLAND_REGIONS = {1, 8, 10, 12}

BATCH_COLUMNS = ["OBEC", "KODOBCE", "KRAJ", "OBYVATELE", "EAKTIVNI", "NEZAMESTNANI",
                 "VYJIZDEJICI", "NADMVYSKA", "KATASTR", "KRAJSKE_MESTO_MIN",
                 "OKRESNI_MESTO_KM", "SILNICE_1TR_KM", "PODNIKATELE_2006", "ROLNICI_2006",
                 "DOM_ZAMESTNAVATEL", "VODOVOD"]


# ---------------------------------------------------------------------------
# Output helpers

def format_number(value):
    """Plain decimal form: 15, 65.5, -18 (never an exponent for our values)."""
    if float(value) == int(value):
        return str(int(value))
    text = repr(float(value))
    assert "e" not in text and "E" not in text, text
    return text


def format_real23(value):
    """The 23-character real form of the input data file: ' 3.50000000000000E+0002'."""
    if value == 0:
        return " 0.00000000000000E+0000"
    mantissa, exponent = ("%.14E" % abs(value)).split("E")
    sign = "-" if value < 0 else " "
    exp = int(exponent)
    return "%s%sE%s%04d" % (sign, mantissa, "-" if exp < 0 else "+", abs(exp))


def write_text_file(path, lines):
    """Writes the lines in code page 1250 with CR LF, through a temporary file."""
    data = ("\r\n".join(lines) + "\r\n").encode("cp1250")
    if any(b >= 0x80 for b in data):
        # The readers take a file that is valid UTF-8 as UTF-8; ours must not be.
        try:
            data.decode("utf-8")
        except UnicodeDecodeError:
            pass
        else:
            raise SystemExit("%s would be read as UTF-8" % path)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    temp = path + ".tmp"
    with open(temp, "wb") as f:
        f.write(data)
    os.replace(temp, path)


# ---------------------------------------------------------------------------
# The model's rules, as far as the examples need them

def decil_of(boundaries, value, asc=True):
    """Decile 1..10: the first boundary the value does not exceed; equal is lower."""
    decil = 10
    for k, boundary in enumerate(boundaries, start=1):
        if not value > boundary:
            decil = k
            break
    return decil if asc else 11 - decil


def boundaries(code):
    return QUANTILES[code][1:10]


def indicator_values(m):
    employed = m["ea"] - m["unemployed"]
    vea = 100 * m["commuters"] / employed if employed > 0 else 0.0
    rps = 100 * m["farmers"] / m["business"] if m["business"] > 0 else 0.0
    region_alt = REGION_BY_NUMBER[m["kraj"]][2]
    return {"dck": float(m["krmin"]), "dvo": float(m["okrkm"]), "vs1": float(m["silnice_m"]),
            "nvr": m["alt"] - region_alt, "vkt": m["katastr"], "vea": vea, "rps": rps}


def deciles_of(m):
    values = indicator_values(m)
    result = {code: decil_of(boundaries(code), values[code]) for code in CODES}
    if result["vea"] >= 9 and m["employer"] >= 100:
        result["vea"] -= 4
    return result


def obyvatelstvo(deciles):
    return sum(deciles[code] * WEIGHTS[code] for code in CODES)


def validate(m):
    """Errors and warnings of the model's input check, as short texts."""
    errors, warnings = [], []
    if not m["obec"].strip():
        errors.append("name")
    if m["kraj"] < 0:
        errors.append("region")
    if m["kraj"] == 1:
        warnings.append("region 1")
    pop = m["pop"]
    if pop < 1 or pop > 9999999:
        errors.append("population")
    elif pop < 500 or pop > 3000:
        warnings.append("population outside 500-3000")
    for key in ("ea", "unemployed", "commuters"):
        if not 0 <= m[key] <= 9999999:
            errors.append(key)
    if m["ea"] > pop:
        errors.append("ea > population")
    if m["unemployed"] > pop or m["unemployed"] > m["ea"]:
        errors.append("unemployed")
    if m["commuters"] > m["ea"] - m["unemployed"]:
        errors.append("commuters")
    if not 115 <= m["alt"] <= 1602:
        errors.append("altitude")
    if not 1 <= m["katastr"] <= 99999.999:
        errors.append("cadastre")
    if not 0 <= m["krmin"] <= 999 or not 0 <= m["okrkm"] <= 999:
        errors.append("travel")
    if not 0 <= m["silnice_m"] <= 999999:
        errors.append("road")
    if not 0 <= m["business"] <= 999999 or not 0 <= m["farmers"] <= 999999:
        errors.append("business")
    if m["farmers"] > m["business"]:
        errors.append("farmers")
    if not 0 <= m["employer"] <= 99999:
        errors.append("employer")
    if m["vodovod"] not in ("T", "F"):
        errors.append("water")
    return errors, warnings


def similar_municipalities(m, deciles, sample):
    """The ranked list of similar sample municipalities: (rank, sample entry)."""
    region_name = REGION_BY_NUMBER.get(m["kraj"], (None, None))[1]
    ranked = []
    for s in sample:
        if m["kod"] != 0 and m["kod"] == s["kod"]:
            continue
        if (m["kod"] == 0 or s["kod"] == 0) and m["obec"] == s["obec"]:
            if region_name is None or region_name == s["kraj_nazev"]:
                continue
        if abs(s["pop"] - m["pop"]) / m["pop"] > 0.3:
            continue
        distance = float(sum((s["deciles"][c] - deciles[c]) ** 2 * WEIGHTS[c] for c in CODES))
        rank = distance / 100
        position = next((i for i, (r, _) in enumerate(ranked) if r > rank), None)
        if position is not None:
            ranked.insert(position, (rank, s))
            del ranked[10:]
        elif len(ranked) < 10:
            ranked.append((rank, s))
    i = 1
    while i < len(ranked):
        if ranked[i][0] > 8:
            del ranked[i]
        else:
            i += 1
    return ranked


# ---------------------------------------------------------------------------
# Generation

def quantile(code, p):
    """Value of the indicator at percentile p, linear between the anchors."""
    anchors = QUANTILES[code]
    x = min(max(p, 0.0), 1.0) * 10
    i = min(int(x), 9)
    return anchors[i] + (anchors[i + 1] - anchors[i]) * (x - i)


def pick_weighted(rng, weights):
    keys = sorted(weights)
    total = sum(weights[k] for k in keys)
    x = rng.uniform(0, total)
    for k in keys:
        x -= weights[k]
        if x <= 0:
            return k
    return keys[-1]


def pick_cluster(rng, region):
    weights = dict(CLUSTER_WEIGHTS)
    if region in UPLAND_REGIONS:
        weights["borderland"] *= 1.8
        weights["mountain"] *= 1.5
    if region in LOWLAND_REGIONS:
        weights["lowland_farming"] *= 1.5
        weights["suburban"] *= 1.3
    return pick_weighted(rng, weights)


def random_population(rng, low=350, high=3900):
    return int(round(math.exp(rng.uniform(math.log(low), math.log(high)))))


def make_municipality(rng, entry, pop=None, cluster=None, percentiles=None,
                      vodovod=None, employer=None):
    """Invents the input figures of one municipality of the list."""
    region = entry["kraj"]
    if percentiles is None:
        centre = CLUSTERS[cluster or pick_cluster(rng, region)]
        # Scatter around the profile on the logit scale, so that values thin
        # out towards the extremes instead of piling up at them.
        remoteness = rng.gauss(0, 0.3)
        percentiles = []
        for i, code in enumerate(CODES):
            x = math.log(centre[i] / (1 - centre[i])) + rng.gauss(0, 0.7)
            if code in ("dck", "dvo", "vs1"):
                x += remoteness
            percentiles.append(1 / (1 + math.exp(-x)))
    p = dict(zip(CODES, percentiles))
    if pop is None:
        pop = random_population(rng)
    ea = int(round(pop * rng.uniform(0.44, 0.53)))
    unemployed = int(round(ea * rng.uniform(0.03, 0.13)))
    employed = ea - unemployed
    commuters = min(employed, max(0, int(round(employed * quantile("vea", p["vea"]) / 100))))
    business = max(5, int(round(pop * rng.uniform(0.14, 0.27))))
    farmers = min(business, max(0, int(round(business * quantile("rps", p["rps"]) / 100))))
    region_alt = REGION_BY_NUMBER[region][2]
    alt = min(1602, max(115, int(round(region_alt + quantile("nvr", p["nvr"])))))
    silnice_km = round(quantile("vs1", p["vs1"]) / 1000, 1)
    if employer is None:
        x = rng.random()
        employer = rng.randint(3, 59) if x < 0.7 else rng.randint(60, 99) if x < 0.9 \
            else rng.randint(100, 420)
    if vodovod is None:
        vodovod = "T" if rng.random() < 0.78 else "F"
    m = {
        "obec": entry["obec"], "kod": entry["kod"], "okres": entry["okres"], "kraj": region,
        "pop": pop, "ea": ea, "unemployed": unemployed, "commuters": commuters,
        "alt": alt, "katastr": round(quantile("vkt", p["vkt"]), 2),
        "krmin": int(round(quantile("dck", p["dck"]))),
        "okrkm": int(round(quantile("dvo", p["dvo"]))),
        "silnice_km": silnice_km, "silnice_m": int(float(repr(silnice_km)) * 1000),
        "business": business, "farmers": farmers, "employer": employer, "vodovod": vodovod,
    }
    return m


def qualified_names():
    """Base names with a qualifier, each with the regions it fits (None: any)."""
    pool = []
    for name in BASE_NAMES:
        for prefix in PREFIXES:
            pool.append((prefix + name, None))
        for suffix, regions in SUFFIXES:
            pool.append((name + suffix, regions))
    return [(n, r) for n, r in pool if n not in SHARED_NAMES and n not in BASE_NAMES]


def all_districts():
    return [(region, district) for region, _, _, districts in REGIONS for district in districts]


def pick_district(rng, regions=None):
    if regions is None:
        region = pick_weighted(rng, REGION_SHARE)
    else:
        region = rng.choice(regions)
    return region, rng.choice(REGION_BY_NUMBER[region][3])


def make_list(rng, unique_count, shared_scale, fill_with_repeats):
    """The list of municipalities: name, district, region and a unique 6-digit code."""
    entries = []
    districts = all_districts()
    for name in sorted(SHARED_NAMES):
        count = int(round(SHARED_NAMES[name] * shared_scale))
        for region, district in rng.sample(districts, count):
            entries.append({"obec": name, "kraj": region, "okres": district})
    plain = [(n, None) for n in BASE_NAMES if n not in SHARED_NAMES]
    qualified = qualified_names()
    rng.shuffle(qualified)
    if fill_with_repeats:
        # Plain names recur across the country, qualified ones rarely.
        chosen = [rng.choice(plain) if rng.random() < 0.3 else rng.choice(qualified)
                  for _ in range(unique_count)]
    else:
        chosen = plain + qualified[:unique_count - len(plain)]
    for name, regions in chosen:
        region, district = pick_district(rng, regions)
        entries.append({"obec": name, "kraj": region, "okres": district})
    # Codes grow with the region and the district, as official codes roughly do.
    order = {d: i for i, d in enumerate(districts)}
    entries.sort(key=lambda e: (order[(e["kraj"], e["okres"])], e["obec"]))
    codes = sorted(rng.sample(range(500011, 599999), len(entries)))
    for entry, code in zip(entries, codes):
        entry["kod"] = code
    return entries


def make_sample(rng, entries, count, exclude=()):
    candidates = [e for e in entries if e["kod"] not in exclude]
    chosen = {e["kod"] for e in rng.sample(candidates, count)}
    sample = []
    for entry in entries:
        if entry["kod"] not in chosen:
            continue
        m = make_municipality(rng, entry)
        deciles = deciles_of(m)
        sample.append({"obec": m["obec"], "okres": m["okres"],
                       "kraj_nazev": REGION_BY_NUMBER[m["kraj"]][1], "kod": m["kod"],
                       "pop": m["pop"], "deciles": deciles,
                       "obyvatelstvo": obyvatelstvo(deciles)})
    return sample


# ---------------------------------------------------------------------------
# The five data files

def decil_dists_lines():
    lines = [DATA_COMMENT,
             "# Hranice decilu sedmi dilcich indikatoru; vyssi hodnota = horsi decil (Asc=T)."]
    for code in CODES:
        lines += ["", "DecilDist=" + code, "Asc=T"]
        lines += ["Value%d=%s" % (k, format_number(v))
                  for k, v in enumerate(boundaries(code), start=1)]
    return lines


def muni_info_lines(entries):
    lines = [DATA_COMMENT, "# Seznam obci: nazev, kod obce, okres."]
    for e in entries:
        lines += ["", "Obec=" + e["obec"], "Kod=%d" % e["kod"], "Okres=" + e["okres"]]
    return lines


def regions_lines():
    lines = [DATA_COMMENT, "# Kraje bez hl. m. Prahy: cislo, nazev, platnost, prumerna nadmorska vyska."]
    for number, name, alt, _ in REGIONS:
        lines += ["", "Region=%d" % number, "Nazev=" + name, "RokOd=2000", "RokDo=2999",
                  "NadmVyska=%s" % format_number(alt)]
    return lines


def samp_muni_lines(sample):
    lines = [DATA_COMMENT, "# Referencni vzorek obci s decily indikatoru a hodnotou Obyvatelstvo."]
    for s in sample:
        lines += ["", "Obec=" + s["obec"], "Okres=" + s["okres"], "Kraj=" + s["kraj_nazev"],
                  "Kod=%d" % s["kod"], "ObyvateleCelkem=%d" % s["pop"]]
        lines += ["%s=%d" % (code, s["deciles"][code]) for code in CODES]
        lines.append("Obyvatelstvo=%d" % s["obyvatelstvo"])
    return lines


def oweights_lines():
    lines = [DATA_COMMENT, "# Vahy dilcich indikatoru v integrovanem indikatoru Obyvatelstvo.",
             "", "OWeights=1"]
    lines += ["%s=%d" % (code, WEIGHTS[code]) for code in CODES]
    return lines


def write_data_files(directory, entries, sample):
    write_text_file(os.path.join(directory, "DecilDists.txt"), decil_dists_lines())
    write_text_file(os.path.join(directory, "MuniInfo.txt"), muni_info_lines(entries))
    write_text_file(os.path.join(directory, "Regions.txt"), regions_lines())
    write_text_file(os.path.join(directory, "SampMuni.txt"), samp_muni_lines(sample))
    write_text_file(os.path.join(directory, "OWeights.txt"), oweights_lines())


# ---------------------------------------------------------------------------
# Example files

def has_czech_letter(text):
    return any(ord(ch) > 127 for ch in text)


def input_file_lines(m):
    """An input data file of one municipality in the form the model writes it."""
    lines = ["# Vstupni data modelu ZEVRA", "", "InputData=" + m["obec"], "Kraj=%d" % m["kraj"]]
    if m["kod"] > 0:
        lines.append("Kod=%d" % m["kod"])
    lines += [
        "ObyvateleCelkem=%d" % m["pop"],
        "ObyvateleEA=%d" % m["ea"],
        "ObyvateleNezamestnani=%d" % m["unemployed"],
        "ObyvateleVyjizdejici=%d" % m["commuters"],
        "NadmVyska=" + format_real23(float(m["alt"])),
        "KatastrCelkem=" + format_real23(m["katastr"]),
        "KrMestoMin=%d" % m["krmin"],
        "OkrMestoKm=%d" % m["okrkm"],
        "Silnice1TrM=%d" % m["silnice_m"],
        "PodnikateleCelkem2006=%d" % m["business"],
        "PodnikateleRolnici2006=%d" % m["farmers"],
        "DominantniZamestnavatel=%d" % m["employer"],
        "Vodovod=" + m["vodovod"],
    ]
    return lines


def batch_values(m):
    """The sixteen columns of a batch file row."""
    return [m["obec"], "%d" % m["kod"], REGION_BY_NUMBER[m["kraj"]][1], "%d" % m["pop"],
            "%d" % m["ea"], "%d" % m["unemployed"], "%d" % m["commuters"], "%d" % m["alt"],
            "%.2f" % m["katastr"], "%d" % m["krmin"], "%d" % m["okrkm"],
            format_number(m["silnice_km"]), "%d" % m["business"], "%d" % m["farmers"],
            "%d" % m["employer"], "Ano" if m["vodovod"] == "T" else "Ne"]


BATCH_HEADER = [
    "# Hromadné zpracování modelu ZEVRA - ukázkový vstupní soubor (smyšlené údaje, ne oficiální čísla).",
    "# Jeden řádek = jedna obec, 16 údajů oddělených středníkem, desetinná tečka; řádky začínající # jsou komentáře.",
    "# " + ";".join(BATCH_COLUMNS),
    "# OBEC název; KODOBCE kód obce; KRAJ název kraje; OBYVATELE, EAKTIVNI, NEZAMESTNANI, VYJIZDEJICI počty osob;",
    "# NADMVYSKA celé metry; KATASTR hektary; KRAJSKE_MESTO_MIN minuty; OKRESNI_MESTO_KM celé km; SILNICE_1TR_KM km;",
    "# PODNIKATELE_2006, ROLNICI_2006 počty subjektů; DOM_ZAMESTNAVATEL zaměstnanci největšího zaměstnavatele; VODOVOD Ano/Ne.",
]


def example_input(rng, entries, sample, name_counts, taken):
    """A valid municipality without warnings that finds several similar ones."""
    candidates = [e for e in entries if e["kod"] not in taken and e["kraj"] != 1
                  and name_counts[e["obec"]] == 1 and has_czech_letter(e["obec"])]
    rng.shuffle(candidates)
    for entry in candidates:
        m = make_municipality(rng, entry, pop=rng.randint(700, 1600), cluster="average_rural",
                              vodovod="T", employer=rng.randint(10, 80))
        errors, warnings = validate(m)
        if errors or warnings:
            continue
        deciles = deciles_of(m)
        if len(similar_municipalities(m, deciles, sample)) >= 6:
            return m
    raise SystemExit("no example municipality with enough similar ones")


def disadvantaged_input(rng, entries, taken):
    """A valid municipality with exactly three deciles of 9 or more and no water main."""
    candidates = [e for e in entries if e["kod"] not in taken and e["kraj"] != 1
                  and has_czech_letter(e["obec"])]
    rng.shuffle(candidates)
    worst = {"dck", "nvr", "vkt"}
    for entry in candidates:
        percentiles = [rng.uniform(0.92, 0.97) if code in worst else rng.uniform(0.35, 0.6)
                       for code in CODES]
        m = make_municipality(rng, entry, pop=rng.randint(600, 1400), percentiles=percentiles,
                              vodovod="F", employer=rng.randint(10, 60))
        errors, warnings = validate(m)
        deciles = deciles_of(m)
        if not errors and not warnings and {c for c in CODES if deciles[c] >= 9} == worst:
            return m
    raise SystemExit("no disadvantaged example municipality")


def batch_municipalities(rng, entries, taken):
    """About thirty valid rows; four of them draw a warning."""
    candidates = [e for e in entries if e["kod"] not in taken and len(e["obec"]) <= 30]
    rng.shuffle(candidates)
    central = [e for e in candidates if e["kraj"] == 1]
    others = [e for e in candidates if e["kraj"] != 1]
    rows = [make_municipality(rng, e, pop=random_population(rng, 520, 2900)) for e in others[:26]]
    warned = [
        make_municipality(rng, central[0], pop=random_population(rng, 600, 2500)),
        make_municipality(rng, others[26], pop=430),
        make_municipality(rng, others[27], pop=3350),
        make_municipality(rng, central[1], pop=470),
    ]
    for position, m in zip((3, 10, 18, 25), warned):
        rows.insert(position, m)
    return rows


def parse_batch_row(values):
    """A batch row read back as the model copies it into its input."""
    km = float(values[11])
    return {"obec": values[0], "kod": int(values[1]),
            "kraj": next(r[0] for r in REGIONS if r[1] == values[2]),
            "pop": int(values[3]), "ea": int(values[4]), "unemployed": int(values[5]),
            "commuters": int(values[6]), "alt": int(values[7]), "katastr": float(values[8]),
            "krmin": int(values[9]), "okrkm": int(values[10]), "silnice_km": km,
            "silnice_m": int(km * 1000), "business": int(values[12]),
            "farmers": int(values[13]), "employer": int(values[14]),
            "vodovod": "T" if values[15][:3].upper() == "ANO" else "F"}


def faulty_batch_lines(rng, entries, taken):
    """Good rows mixed with rows that fail to load and one that fails validation."""
    candidates = [e for e in entries if e["kod"] not in taken and e["kraj"] != 1
                  and len(e["obec"]) <= 30]
    rng.shuffle(candidates)
    rows = [batch_values(make_municipality(rng, e, pop=random_population(rng, 550, 2800)))
            for e in candidates[:10]]
    too_few = rows[1][:15]
    with_unit = list(rows[3])
    with_unit[8] += " ha"
    letter = list(rows[4])
    letter[3] = letter[3][:-2] + "O" + letter[3][-1:]
    decimal_altitude = list(rows[5])
    decimal_altitude[7] += ".5"
    too_many = rows[6] + ["navíc"]
    unemployed = list(rows[7])
    unemployed[5] = str(int(unemployed[4]) + 12)
    body = [
        (rows[0], None),
        (too_few, "chybí sloupec VODOVOD (15 údajů)"),
        (rows[2], None),
        (with_unit, "jednotka za číslem v KATASTR"),
        (letter, "písmeno O místo nuly v OBYVATELE"),
        (decimal_altitude, "desetinné číslo v NADMVYSKA"),
        (too_many, "17 údajů"),
        (unemployed, "načte se, ale NEZAMESTNANI > EAKTIVNI (chyba kontroly vstupů)"),
        (rows[8], None),
    ]
    header = ["# Ukázka chybného vstupního souboru hromadného zpracování (smyšlené údaje).",
              "# Chybné řádky (číslováno od 1 včetně komentářů):"]
    first = len(header) + sum(1 for _, note in body if note) + 1
    notes = ["#   řádek %d: %s" % (first + i, note) for i, (_, note) in enumerate(body) if note]
    return header + notes + [";".join(values) for values, _ in body]


README_LINES = """# Examples

Example inputs for ZEVRA Model. All files are text in code page 1250 with
CR LF line ends, and all figures in them are invented (demonstration data,
not official statistics). They are written by `python3 src/data/gen_data.py`
together with the demonstration reference data in `src/data/`; the script
checks that each example still shows what it is meant to show.

| File | What it is for |
|---|---|
| `obec.txt` | Input data file of one municipality, as the wizard saves it. It passes the input check with no error and no warning, and its evaluation lists several similar municipalities of the reference sample. `zevra-cli validate examples/obec.txt` prints nothing; `zevra-cli evaluate examples/obec.txt` prints the whole report. |
| `znevyhodnena-obec.txt` | A disadvantaged municipality: exactly three partial indicators in decile 9 or 10 (travel time to the regional city, altitude above the regional average, cadastral area), the integrated indicator in the band 700-1000, and no long-distance water main. Its report shows the partial-assessment header, the three partial texts and the water-supply warning. |
| `obce.csv` | Batch input of 30 municipalities (16 semicolon-separated columns, comment lines starting with `#` describe them). No row has an error; four rows draw a warning (region 1, population under 500 or over 3000, one row both). `zevra-cli batch examples/obce.csv vysledky.html` writes the HTML table. |
| `obce-chybne.csv` | Batch input with several faulty lines at once: 15 columns, a unit after the number in `KATASTR`, a letter in `OBYVATELE`, a decimal in `NADMVYSKA`, 17 columns, and one row that loads but fails the input check (more unemployed than economically active). The comment lines at the top give the line numbers. Loading reports every problem together. |
""".splitlines()


def write_examples(directory, rng, entries, sample):
    name_counts = {}
    for e in entries:
        name_counts[e["obec"]] = name_counts.get(e["obec"], 0) + 1
    taken = {s["kod"] for s in sample}
    report = []

    obec = example_input(rng, entries, sample, name_counts, taken)
    taken.add(obec["kod"])
    path = os.path.join(directory, "obec.txt")
    write_text_file(path, input_file_lines(obec))
    report.append(describe_example("obec.txt", read_input_file(path), sample))

    poor = disadvantaged_input(rng, entries, taken)
    taken.add(poor["kod"])
    path = os.path.join(directory, "znevyhodnena-obec.txt")
    write_text_file(path, input_file_lines(poor))
    report.append(describe_example("znevyhodnena-obec.txt", read_input_file(path), sample))

    rows = batch_municipalities(rng, entries, taken)
    taken.update(m["kod"] for m in rows)
    lines = list(BATCH_HEADER) + [";".join(batch_values(m)) for m in rows]
    write_text_file(os.path.join(directory, "obce.csv"), lines)
    warned = 0
    for m in rows:
        back = parse_batch_row(batch_values(m))
        errors, warnings = validate(back)
        if errors:
            raise SystemExit("batch example row %s is invalid: %s" % (m["obec"], errors))
        warned += bool(warnings)
    if not 3 <= warned <= 5:
        raise SystemExit("batch example has %d rows with warnings" % warned)
    report.append("obce.csv: %d rows, %d with warnings, none with errors" % (len(rows), warned))

    faulty = faulty_batch_lines(rng, entries, taken)
    write_text_file(os.path.join(directory, "obce-chybne.csv"), faulty)
    report.append("obce-chybne.csv: %d lines" % len(faulty))
    write_text_file(os.path.join(directory, "README.md"), README_LINES)
    return report


def read_input_file(path):
    """Reads an input data file back the way the model does, for checking."""
    with open(path, "rb") as f:
        text = f.read().decode("cp1250")
    if "\n" in text.replace("\r\n", ""):
        raise SystemExit("%s: line ends other than CR LF" % path)
    values = {}
    for line in text.split("\r\n"):
        if not line.strip() or line.startswith("#") or "=" not in line:
            continue
        key, value = line.split("=", 1)
        values[key.strip().lower()] = value.strip()
    return {
        "obec": values["inputdata"], "kraj": int(values["kraj"]), "kod": int(values["kod"]),
        "pop": int(values["obyvatelecelkem"]), "ea": int(values["obyvateleea"]),
        "unemployed": int(values["obyvatelenezamestnani"]),
        "commuters": int(values["obyvatelevyjizdejici"]), "alt": float(values["nadmvyska"]),
        "katastr": float(values["katastrcelkem"]), "krmin": int(values["krmestomin"]),
        "okrkm": int(values["okrmestokm"]), "silnice_m": int(values["silnice1trm"]),
        "business": int(values["podnikatelecelkem2006"]),
        "farmers": int(values["podnikatelerolnici2006"]),
        "employer": int(values["dominantnizamestnavatel"]), "vodovod": values["vodovod"],
    }


def describe_example(name, m, sample):
    errors, warnings = validate(m)
    if errors or warnings:
        raise SystemExit("%s: errors %s, warnings %s" % (name, errors, warnings))
    deciles = deciles_of(m)
    similar = similar_municipalities(m, deciles, sample)
    values = indicator_values(m)
    return "%s: %s (kraj %d, %d obyv.)\n  values  %s\n  deciles %s  Obyvatelstvo %d\n" \
           "  similar %d: %s" % (
               name, m["obec"], m["kraj"], m["pop"],
               " ".join("%s=%.4g" % (c, values[c]) for c in CODES),
               " ".join("%s=%d" % (c, deciles[c]) for c in CODES), obyvatelstvo(deciles),
               len(similar), ", ".join("%s %.1f" % (s["obec"], r) for r, s in similar))


# ---------------------------------------------------------------------------
# Checks and summary

def check_list(entries):
    codes = [e["kod"] for e in entries]
    if len(set(codes)) != len(codes):
        raise SystemExit("duplicate municipality codes")
    counts = {}
    for e in entries:
        counts[e["obec"]] = counts.get(e["obec"], 0) + 1
    return counts


def sample_summary(sample):
    """How many similar municipalities each sample municipality finds among the others."""
    found = []
    for s in sample:
        m = {"obec": s["obec"], "kod": s["kod"], "pop": s["pop"],
             "kraj": next(r[0] for r in REGIONS if r[1] == s["kraj_nazev"])}
        found.append(len(similar_municipalities(m, s["deciles"], sample)))
    found.sort()
    return "similar per sample municipality: min %d, median %d, mean %.1f, >=4 in %d%%" % (
        found[0], found[len(found) // 2], sum(found) / len(found),
        100 * sum(1 for f in found if f >= 4) // len(found))


def generate_demo(data_dir, examples_dir):
    rng = random.Random(SEED)
    entries = make_list(rng, unique_count=1110, shared_scale=1.0, fill_with_repeats=False)
    counts = check_list(entries)
    if sorted(counts.values())[-1] < 15 or sorted(counts.values())[-2] >= 15:
        raise SystemExit("the list needs exactly one name shared by 15 or more")
    sample = make_sample(rng, entries, 360)
    write_data_files(data_dir, entries, sample)
    print("MuniInfo: %d municipalities, %d names (%d unique, %d shared by 2-14, %d by 15+)" % (
        len(entries), len(counts), sum(1 for c in counts.values() if c == 1),
        sum(1 for c in counts.values() if 2 <= c <= 14),
        sum(1 for c in counts.values() if c >= 15)))
    print("SampMuni: %d municipalities, population %d-%d" % (
        len(sample), min(s["pop"] for s in sample), max(s["pop"] for s in sample)))
    print(sample_summary(sample))
    if examples_dir:
        for line in write_examples(examples_dir, rng, entries, sample):
            print(line)


def generate_full(out_dir):
    rng = random.Random(FULL_SEED)
    shared = sum(int(round(c * 1.5)) for c in SHARED_NAMES.values())
    entries = make_list(rng, unique_count=6300 - shared, shared_scale=1.5,
                        fill_with_repeats=True)
    check_list(entries)
    sample = make_sample(rng, entries, 6000)
    write_data_files(out_dir, entries, sample)
    print("full data set in %s: %d municipalities, %d in the sample" % (
        out_dir, len(entries), len(sample)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--full", metavar="OUTDIR",
                        help="write a full-size data set (about 6,300 municipalities, "
                             "6,000 in the sample) into OUTDIR instead")
    parser.add_argument("--data-dir", default=DEFAULT_DATA_DIR, help=argparse.SUPPRESS)
    parser.add_argument("--examples-dir", default=DEFAULT_EXAMPLES_DIR, help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.full:
        generate_full(args.full)
    else:
        generate_demo(args.data_dir, args.examples_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main())
