#!/usr/bin/env python3
"""Writes the input files of the benthos example: a made-up macrobenthos
monitoring survey of an estuary (benthos.SPE, .ETP, .STA, .DAT).

The numbers are synthetic but shaped like real grab and core data: counts per
sample drawn from an overdispersed Poisson law around a density per m2 that is
typical of each species in each ecotope, written as densities per m2
(count / sample surface) and as biomass in g ash-free dry weight per m2.

Run it from anywhere; it writes beside itself. The seed is fixed, so the files
come out the same every time; they are committed, and the expected results in
expected/ were made from them. Regenerate only on purpose, then refresh the
expected results (see docs/guide.md, "The examples").
"""

import math
import os
import random

SEED = 20240611
CORE = 0.015  # m2, a hand core on the tidal flats
GRAB = 0.1  # m2, a Van Veen grab from the ship

# Species code, name as written in the species file (quoted where the name
# holds a blank or an apostrophe), mean individual weight in g AFDW.
SPECIES = [
    (1, "'Hediste diversicolor'", 0.035),
    (2, "'Arenicola marina'", 0.45),
    (3, "'Limecola balthica'", 0.060),
    (4, "'Cerastoderma edule'", 0.30),
    (5, "'Peringia ulvae'", 0.0015),
    (6, "'Corophium volutator'", 0.0008),
    (7, "'Scoloplos armiger'", 0.012),
    (8, "'Heteromastus filiformis'", 0.004),
    (9, "'Pygospio elegans'", 0.0006),
    (10, "'Capitella capitata'", 0.0010),
    (11, "'Tubificoides benedii'", 0.0003),
    (12, "'Nephtys hombergii'", 0.040),
    (13, "'Bathyporeia ''pilosa/sarsi'''", 0.0009),
    (14, "'Eteone longa'", 0.003),
    (15, "'Mya arenaria'", 0.50),
    (16, "'Tharyx sp. ''A'''", 0.0007),
    (17, '"Polydora sp. \'cornuta\' group"', 0.0005),
    (18, "'Nephtys cirrosa'", 0.020),
    (19, "'Magelona johnstoni'", 0.002),
    (20, "'Urothoe poseidonis'", 0.0010),
    (21, "'Spiophanes bombyx'", 0.0015),
    (22, "'Lanice conchilega'", 0.030),
    (23, "'Ensis leei'", 0.80),
    (24, "'Abra alba'", 0.015),
    (25, "'Spisula subtruncata'", 0.050),
    (26, "'Echinocardium cordatum'", 0.90),
    (27, "'Ophiura ophiura'", 0.10),
    (28, '"Ampharetidae \'juv.\'"', 0.0004),
    (29, "'Crangon crangon'", 0.08),
    (30, "'Gastrosaccus spinifer'", 0.0012),
    (31, "'Notomastus latericeus'", 0.010),
    (32, "'Glycera alba'", 0.020),
    (33, "'Ophelia borealis'", 0.030),
    (34, "'Goniadella bobrezkii'", 0.002),
    (35, "'Branchiostoma lanceolatum'", 0.030),
    (36, "'Sabellaria spinulosa'", 0.010),
    (37, "'Balanus crenatus'", 0.020),
    (38, "Nemertea", 0.010),
    (39, "Oligochaeta", 0.0002),
    (40, '"Devonshire cup coral (Caryophyllia smithii)"', 0.05),
    (41, "'Mytilus edulis'", 0.40),
    (42, "'Asterias rubens'", 1.5),
]

# Ecotope code, name, reference surfaces, assessment surfaces, the species
# with their typical density per m2 at the reference stations, and how the
# assessment stations depart from that (factor per species code; absent
# means 1; "new" species occur at the assessment stations only).
ECOTOPES = [
    dict(
        code=110, name="'Sheltered intertidal mud'",
        ref=[CORE] * 12, ass=[CORE] * 4,
        dens={1: 900, 3: 350, 4: 60, 5: 4000, 6: 2500, 8: 500, 9: 1200,
              10: 150, 11: 1800, 12: 70, 14: 120, 15: 20, 16: 300},
        # Organic enrichment near an outfall: opportunists up, bivalves and
        # amphipods down, two species that the reference never had.
        change={10: 12.0, 11: 3.0, 3: 0.2, 4: 0.1, 6: 0.15, 15: 0.0},
        new={17: 800, 39: 1500},
    ),
    dict(
        # Mostly cores and two grabs: the surfaces are so unequal that the
        # report warns about them.
        code=120, name='"Exposed intertidal sand (St Anne\'s flat)"',
        ref=[CORE] * 9 + [GRAB] * 2, ass=[CORE] * 3 + [GRAB],
        dens={2: 40, 3: 120, 4: 200, 7: 400, 9: 600, 13: 1500, 14: 60,
              18: 90, 20: 300, 21: 150, 22: 80, 30: 50, 38: 30},
        # Sand nourishment: fewer animals of nearly every kind.
        change={2: 0.5, 4: 0.3, 7: 0.5, 9: 0.4, 13: 0.3, 20: 0.3, 22: 0.0},
        new={},
    ),
    dict(
        code=210, name="'Subtidal fine sand'",
        ref=[GRAB] * 8 + [CORE] * 3, ass=[GRAB] * 4,
        dens={12: 40, 18: 60, 19: 250, 21: 300, 22: 120, 23: 15, 24: 200,
              25: 80, 26: 8, 27: 25, 28: 150, 29: 10, 31: 40, 32: 20, 38: 20},
        # A spoil ground: the fauna of one station was buried (it is in
        # the data file with the no-fauna code only).
        change={23: 0.3, 25: 0.2, 26: 0.0, 22: 0.5},
        new={10: 60},
        azoic_ass=[1],
    ),
    dict(
        # One assessment core against grabs: too small a surface for the
        # report, but the summary tables have its rows.
        code=220, name="'Subtidal coarse sand and gravel'",
        ref=[GRAB] * 7, ass=[CORE],
        dens={18: 50, 32: 30, 33: 60, 34: 200, 35: 40, 36: 300, 37: 150,
              38: 25, 27: 10},
        change={},
        new={},
    ),
    dict(
        code=310, name="'Tidal channel slope'",
        ref=[GRAB] * 10, ass=[GRAB] * 3 + [CORE] * 2,
        dens={8: 300, 12: 50, 14: 40, 16: 200, 19: 100, 24: 150, 27: 30,
              28: 100, 29: 20, 31: 60, 36: 80, 38: 15, 40: 5},
        change={},
        new={},
    ),
    dict(
        # Four grabs on a patchy bed of mussels and reef worms, one grab to
        # judge: the reference stations differ so much that the report can
        # say little (a poor power to detect changes).
        code=320, name="'Channel bed with mussel patches'",
        ref=[GRAB] * 4, ass=[GRAB],
        dens={36: 400, 37: 200, 38: 20, 41: 150, 42: 60, 27: 15, 29: 10,
              32: 10, 8: 40},
        change={},
        new={},
        patchiness=0.3,
    ),
]


def poisson(rng, mean):
    """Knuth's method, with a normal approximation for large means."""
    if mean <= 0:
        return 0
    if mean > 30:
        return max(0, int(round(rng.gauss(mean, math.sqrt(mean)))))
    limit = math.exp(-mean)
    k, p = 0, rng.random()
    while p > limit:
        k += 1
        p *= rng.random()
    return k


def count(rng, density, surface, shape):
    # Animals are patchy: a gamma-distributed local density makes the counts
    # overdispersed, as in real samples; the smaller the shape, the patchier.
    if density <= 0:
        return 0
    local = rng.gammavariate(shape, density / shape)
    return poisson(rng, local * surface)


def main():
    rng = random.Random(SEED)
    here = os.path.dirname(os.path.abspath(__file__))
    weight = {code: w for code, _, w in SPECIES}

    def write(ext, lines):
        with open(os.path.join(here, "benthos" + ext), "w", newline="\n") as f:
            f.write("".join(line + "\n" for line in lines))

    write(".SPE", [f"{code} {name}" for code, name, _ in SPECIES])
    write(".ETP", [f"{e['code']} {e['name']}" for e in ECOTOPES])

    sta, dat = [], []
    for e in ECOTOPES:
        station = e["code"] * 10  # 1100, 1101, ... within ecotope 110
        groups = [("REF", s, False) for s in e["ref"]]
        groups += [("ASS", s, True) for s in e["ass"]]
        # Reference and assessment stations are interleaved in the station
        # file, as they come from the field sheets.
        rng.shuffle(groups)
        azoic = set(e.get("azoic_ass", []))
        n_ass = 0
        for group, surface, assessed in groups:
            station += 1
            sta.append(f"{e['code']} {station} {group} {surface:g}")
            if assessed:
                n_ass += 1
            if assessed and n_ass in azoic:
                dat.append(f"{e['code']} {station} 999 0 0")
                continue
            dens = dict(e["dens"])
            if assessed:
                for code, factor in e["change"].items():
                    dens[code] = dens.get(code, 0) * factor
                dens.update(e["new"])
            records = []
            for code in sorted(dens):
                n = count(rng, dens[code], surface, e.get("patchiness", 2.0))
                if n == 0:
                    continue
                d = n / surface
                b = n * weight[code] * rng.lognormvariate(0.0, 0.3) / surface
                records.append(f"{e['code']} {station} {code} {d:.2f} {b:.4f}")
            if not records:
                records.append(f"{e['code']} {station} 999 0 0")
            dat.extend(records)
    write(".STA", sta)
    write(".DAT", dat)


if __name__ == "__main__":
    main()
