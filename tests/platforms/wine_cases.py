#!/usr/bin/env python3
"""Runs the Windows program under wine on every golden case, slip case
(the failure cases among them), example and a few generated surveys, and
compares every byte with the expectations the Linux tests use: standard
output, exit status, the list of files written and every file. Standard
error is compared after the two things that differ by system are made
alike: the Windows form of the run's folder, and the remark that names are
case-sensitive, which is made only where they are. Then a second run in the
same folder, a folder and a header with non-ASCII names, and the removal of
temporary files when a run is interrupted.

  wine_cases.py --exe ecoassess.exe --probe interrupt_probe.exe
                --linux ecoassess --survey make_survey --work DIR [--jobs N]
"""

import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import threading
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
RESULTS = re.compile(r"\.(ASS|SIM|DEN|BIO|NSP|csv|html)$")
ELAPSED = re.compile(rb"elapsed [0-9]+\.[0-9]+ s")
CASE_REMARK = b"the names are case-sensitive; "


def windows_name(path):
    return ("Z:" + str(path).replace("/", "\\")).encode()


def files_below(folder):
    return sorted(str(p.relative_to(folder)) for p in folder.rglob("*") if p.is_file())


class Runner:
    def __init__(self, args):
        self.exe = str(Path(args.exe).resolve())
        self.probe = str(Path(args.probe).resolve())
        self.linux = str(Path(args.linux).resolve())
        self.survey = str(Path(args.survey).resolve())
        self.work = Path(args.work).resolve()
        self.failures = []
        self.count = 0
        self.lock = threading.Lock()

    def wine(self, program, cwd, args, env=None):
        full = dict(os.environ, **(env or {}))
        r = subprocess.run(["wine", program] + args, cwd=cwd, stdin=subprocess.DEVNULL,
                           capture_output=True, env=full, timeout=600)
        return r.returncode, r.stdout, r.stderr

    def native(self, cwd, args, env=None):
        full = dict(os.environ, **(env or {}))
        r = subprocess.run([self.linux] + args, cwd=cwd, stdin=subprocess.DEVNULL,
                           capture_output=True, env=full, timeout=600)
        return r.returncode, r.stdout, r.stderr

    def check(self, name, problems):
        with self.lock:
            self.count += 1
            if problems:
                self.failures.append(name + ": " + "; ".join(problems))
                print("FAIL " + name + ": " + "; ".join(problems), flush=True)
        return not problems

    # One run of a case folder as the case runners do it: copy the inputs,
    # run `ecoassess case.hdr`, collect what it wrote.
    def run_copy(self, name, inputs, header, args=(), env=None, keep=None, options=()):
        run = self.work / name / "run"
        if keep is None:
            shutil.rmtree(run.parent, ignore_errors=True)
            shutil.copytree(inputs, run, symlinks=True, ignore=shutil.ignore_patterns("expected"))
            for f in run.iterdir():
                if f.is_file() and RESULTS.search(f.name):
                    f.unlink()
        before = set(files_below(run))
        status, out, err = self.wine(self.exe, run, list(options) + [header] + list(args), env)
        err = ELAPSED.sub(b"elapsed <time> s", err)
        err = err.replace(windows_name(run), b"<run>")
        produced = [f for f in files_below(run) if f not in before]
        return run, status, out, err, produced

    def case(self, kind, folder):
        name = kind + "." + folder.name
        expected = folder / "expected"
        outputs = expected
        same = folder / "same_outputs_as"
        if same.exists():
            outputs = folder.parent / same.read_text().split()[0] / "expected"
        # Options given before the header file, one a line.
        given = folder / "args.txt"
        options = [a for a in given.read_text().split("\n") if a] if given.exists() else []
        run, status, out, err, produced = self.run_copy(name, folder / "input", "case.hdr",
                                                        options=options)
        problems = []
        listing = ("\n".join(sorted(produced)) + "\n").encode()
        for label, actual, path in (("console.txt", out, outputs / "console.txt"),
                                    ("status.txt", f"{status}\n".encode(), outputs / "status.txt"),
                                    ("files.txt", listing, outputs / "files.txt")):
            if actual != path.read_bytes():
                problems.append(label)
        wanted = (expected / "warnings.txt").read_bytes()
        if err != wanted.replace(CASE_REMARK, b""):
            problems.append("warnings.txt:\n" + err.decode(errors="replace"))
        for f in produced:
            if not (outputs / f).exists() or (run / f).read_bytes() != (outputs / f).read_bytes():
                problems.append(f)
        return self.check(name, problems)

    def example(self, folder):
        name = "example." + folder.name
        expected = folder / "expected"
        run, status, out, err, produced = self.run_copy(name, folder, folder.name + ".hdr")
        problems = [] if status == 0 else [f"status {status}: {err.decode(errors='replace')}"]
        if out != (expected / "console.txt").read_bytes():
            problems.append("console.txt")
        wanted = sorted(f.name for f in expected.iterdir() if f.name != "console.txt")
        if sorted(produced) != wanted:
            problems.append(f"files {produced}")
        for f in wanted:
            if (run / f).exists() and (run / f).read_bytes() != (expected / f).read_bytes():
                problems.append(f)
        return self.check(name, problems)

    # A generated survey: the Windows program against the Linux one, on
    # every vector path this processor has.
    def generated(self, shape, seed):
        name = "generated." + "_".join(shape) + "_" + seed
        inputs = self.work / name / "input"
        shutil.rmtree(inputs.parent, ignore_errors=True)
        subprocess.run([self.survey, str(inputs)] + shape + [seed], check=True,
                       capture_output=True)
        reference = self.work / name / "linux"
        shutil.copytree(inputs, reference)
        lstatus, lout, lerr = self.native(reference, ["case.hdr", "--csv", "--html"])
        lerr = ELAPSED.sub(b"elapsed <time> s", lerr)
        wanted = sorted(f for f in files_below(reference) if RESULTS.search(f))
        ok = True
        for path in ("portable", "avx2", "avx512"):
            run, status, out, err, produced = self.run_copy(
                name + "." + path, inputs, "case.hdr", ["--csv", "--html", "--threads", "2"],
                {"ECO_KERNEL": path})
            problems = []
            if (status, out, err) != (lstatus, lout, lerr):
                problems.append(f"status {status}, console or warnings differ")
            if sorted(produced) != wanted:
                problems.append(f"files {produced}")
            problems += [f for f in wanted
                         if (run / f).exists() and (run / f).read_bytes() != (reference / f).read_bytes()]
            ok = self.check(name + "." + path, problems) and ok
        return ok

    # An example's tables imported by the Windows program (from a folder of
    # its own, the tables named with theirs), then the survey run: the
    # example's expected outputs byte for byte.
    def imported(self, folder):
        name = "import." + folder.name
        header = (folder / (folder.name + ".hdr")).read_text()
        key = {k: (re.search(r"\[" + k + r"\] +([^ \n#]+)", header) or [None, None])[1]
               for k in ("INP", "MST", "ARM", "LLN")}
        top = self.work / name
        shutil.rmtree(top, ignore_errors=True)
        tables = top / "tables"
        tables.mkdir(parents=True)
        for f in folder.glob(key["INP"] + "_*.csv"):
            shutil.copy(f, tables / f.name)
        args = ["import", "--name", key["INP"], "--dir", "survey", "--max-stations", key["MST"],
                "--mode", key["ARM"]] + (["--list-length", key["LLN"]] if key["LLN"] else [])
        for table, suffix in (("stations", "stations"), ("samples", "samples"),
                              ("biomass", "biomass"), ("species", "taxa"), ("ecotopes", "ecotopes")):
            if (tables / f"{key['INP']}_{suffix}.csv").exists():
                args += ["--" + table, f"tables\\{key['INP']}_{suffix}.csv"]
        status, out, err = self.wine(self.exe, top, args)
        problems = [] if status == 0 and not err else [f"import status {status}: {err.decode()}"]
        run = top / "survey"
        if not problems:
            status, out, err = self.wine(self.exe, run, ["--strict", key["INP"] + ".hdr"])
            if status != 0:
                problems.append(f"run status {status}: {err.decode(errors='replace')}")
            if out != (folder / "expected/console.txt").read_bytes():
                problems.append("console.txt")
            for f in (folder / "expected").iterdir():
                if f.name != "console.txt" and (
                        not (run / f.name).exists() or (run / f.name).read_bytes() != f.read_bytes()):
                    problems.append(f.name)
        return self.check(name, problems)

    # The same run again in the same folder: every output file replaced in
    # place, nothing left over.
    def second_run(self):
        folder = ROOT / "tests/golden/small_mode2"
        name = "again.small_mode2"
        self.run_copy(name, folder / "input", "case.hdr")
        run, status, out, err, produced = self.run_copy(name, folder / "input", "case.hdr",
                                                        keep=True)
        problems = [] if status == 0 else [f"status {status}: {err.decode(errors='replace')}"]
        names = sorted(f for f in files_below(run) if RESULTS.search(f))
        if names != ["tiny.ASS", "tiny.DEN", "tiny.NSP", "tiny.SIM"] or produced:
            problems.append(f"files {files_below(run)}")
        for f in names:
            if (run / f).read_bytes() != (folder / "expected" / f).read_bytes():
                problems.append(f)
        return self.check(name, problems)

    # A folder, a header and input and output names with non-ASCII letters,
    # the header given with its folder and [PAI] naming that folder.
    def non_ascii(self):
        folder = ROOT / "tests/golden/small_mode2"
        name = "names.non_ascii"
        top = self.work / name
        shutil.rmtree(top, ignore_errors=True)
        survey = top / "Überwachung Ästuar 河口"
        survey.mkdir(parents=True)
        for f in (folder / "input").iterdir():
            if f.name != "case.hdr":
                shutil.copy(f, survey / ("Küste" + f.suffix))
        header = (folder / "input/case.hdr").read_text()
        header = header.replace("[PAI] .", "[PAI] 'Überwachung Ästuar 河口'")
        header = header.replace("[INP] tiny", "[INP] 'Küste'").replace("[OUT] tiny", "[OUT] 'Größe'")
        (survey / "Mündung ü.hdr").write_text(header)
        status, out, err = self.wine(self.exe, top, ["Überwachung Ästuar 河口/Mündung ü.hdr"])
        problems = [] if status == 0 else [f"status {status}: {err.decode(errors='replace')}"]
        if out != (folder / "expected/console.txt").read_bytes():
            problems.append("console.txt")
        for ext in ("ASS", "DEN", "NSP", "SIM"):
            made = survey / ("Größe." + ext)
            if not made.exists() or made.read_bytes() != (folder / "expected" / ("tiny." + ext)).read_bytes():
                problems.append("Größe." + ext)
        if "Größe.SIM, Größe.DEN".encode() not in err:
            problems.append("closing line: " + err.decode(errors="replace"))
        # A missing input file is named with its folder, in UTF-8.
        (survey / "Küste.SPE").unlink()
        status, out, err = self.wine(self.exe, top, ["Überwachung Ästuar 河口/Mündung ü.hdr"])
        wanted = ("error: Küste.SPE: the species file cannot be opened in " +
                  windows_name(survey).decode() + ": it does not exist; check [INP] 'Küste' " +
                  "and [PAI] in the header file (a relative [PAI] is taken from the folder the " +
                  "program was started in, not from the header file's folder)\n").encode()
        if status != 1 or err != wanted:
            problems.append(f"missing file: status {status}, {err.decode(errors='replace')}")
        return self.check(name, problems)

    # The interrupt handler, called as the console calls it, while the main
    # thread has two output files open: the earlier result stays, the
    # temporary files go.
    def interrupt(self):
        name = "interrupt.probe"
        run = self.work / name
        shutil.rmtree(run, ignore_errors=True)
        run.mkdir(parents=True)
        status, out, err = self.wine(self.probe, run, [])
        problems = []
        # 0xC000013A, the status of a program ended by Ctrl-C, of which
        # wine passes on the low byte.
        if status != 0x3A:
            problems.append(f"probe status {status}")
        if files_below(run) != ["kept.ASS"]:
            problems.append(f"left {files_below(run)}")
        elif (run / "kept.ASS").read_bytes() != b"earlier result\r\n":
            problems.append("kept.ASS changed")
        return self.check(name, problems)


def main():
    p = argparse.ArgumentParser()
    for a in ("exe", "probe", "linux", "survey", "work"):
        p.add_argument("--" + a, required=True)
    p.add_argument("--jobs", type=int, default=2)
    args = p.parse_args()
    r = Runner(args)
    Path(args.work).mkdir(parents=True, exist_ok=True)
    jobs = []
    skipped = []
    for kind in ("golden", "slips"):
        for folder in sorted((ROOT / "tests" / kind).iterdir()):
            if not (folder / "input").is_dir():
                continue
            # A case made of a link to a Linux device (/dev/full) has no
            # Windows form.
            if any(p.is_symlink() for p in (folder / "input").iterdir()):
                skipped.append(kind + "." + folder.name)
                continue
            jobs.append((r.case, kind, folder))
    for folder in sorted((ROOT / "examples").iterdir()):
        if (folder / (folder.name + ".hdr")).exists():
            jobs.append((r.example, folder))
            jobs.append((r.imported, folder))
    for shape, seed in ((["ladder", "6"], "7"), (["ladder", "25"], "11"), (["ladder", "60"], "5"),
                        (["dense"], "3")):
        jobs.append((r.generated, shape, seed))
    jobs += [(r.second_run,), (r.non_ascii,), (r.interrupt,)]
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for f in [pool.submit(j[0], *j[1:]) for j in jobs]:
            f.result()
    print(f"{r.count - len(r.failures)} of {r.count} Windows runs as expected"
          + (f"; Linux only, not run: {', '.join(skipped)}" if skipped else ""))
    return 1 if r.failures else 0


if __name__ == "__main__":
    sys.exit(main())
