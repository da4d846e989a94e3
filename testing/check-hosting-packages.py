#!/usr/bin/python3
# Debian's own Python, which python3-yaml serves (another python3 may come first on PATH).
"""Checks the 2025-09 package, the CMS folder and the Polygon package written
beside a legacy Kattis-format package <dir>/<name>
(hosting/make-hosting-packages.py) against it, as far as can be done without
their systems: the 2025-09 problem.yaml's keys and the legacy package's files
in the 2025-09 folders; task.yaml, gen/GEN and problem.xml parse and agree with
each other and with the legacy package's tests, answers, limits and
submissions; each zip holds its folder; the statement PDF holds the title and
the samples. Prints every fault found; status 1 when there is one.
Usage: testing/check-hosting-packages.py <kattis-package-dir>"""
import os
import subprocess
import sys
import uuid
import xml.etree.ElementTree as ElementTree
import zipfile

import yaml

kattis = os.path.abspath(sys.argv[1])
name = os.path.basename(kattis)
cms = os.path.join(os.path.dirname(kattis), "cms", name)
polygon = os.path.join(os.path.dirname(kattis), "polygon", name)
current = os.path.join(os.path.dirname(kattis), "2025-09", name)
faults = []


def expect(condition, fault):
    if not condition:
        faults.append(fault)


def read(*path):
    with open(os.path.join(*path), "rb") as f:
        return f.read()


def files(top):
    return sorted(os.path.relpath(os.path.join(d, f), top) for d, _, names in os.walk(top) for f in names)


def same_files(legacy, now):
    """The legacy package's folder holds the files of the 2025-09 package's, the same."""
    return files(os.path.join(kattis, legacy)) == files(os.path.join(current, now)) and all(
        read(kattis, legacy, f) == read(current, now, f) for f in files(os.path.join(kattis, legacy)))


def zipped(folder):
    """The zip beside the folder holds the folder's files, the same."""
    with zipfile.ZipFile(folder + ".zip") as z:
        return sorted(n for n in z.namelist() if not n.endswith("/")) == files(folder) and all(
            z.read(f) == read(folder, f) for f in files(folder))


# The Kattis package's tests as (input, answer) pairs, the samples apart.
config = yaml.safe_load(read(kattis, "problem.yaml"))
tests = {}
for folder in ("sample", "secret"):
    for test in sorted(f[:-3] for f in os.listdir(os.path.join(kattis, "data", folder)) if f.endswith(".in")):
        tests[(read(kattis, "data", folder, test + ".in"), read(kattis, "data", folder, test + ".ans"))] = folder
seconds = float(read(kattis, ".timelimit"))
expect(seconds >= 1 and seconds * 10 == round(seconds * 10), f".timelimit {seconds}: not whole tenths from 1 s")
expect(float(config["limits"]["time_multiplier"]) > 0, "problem.yaml: no time_multiplier")

# The 2025-09 package: problem.yaml in the format's keys with the same limits,
# the legacy package's files in the format's folders, and no legacy folder.
now = yaml.safe_load(read(current, "problem.yaml"))
limits = now["limits"]
expect((now["problem_format_version"], now["type"], now["name"]) == ("2025-09", "pass-fail", config["name"]),
       "2025-09 problem.yaml: format version, type or name")
expect(str(uuid.UUID(str(now["uuid"]))) == str(now["uuid"]), "2025-09 problem.yaml: uuid")
expect((now["license"], now["source"]["name"]) == (config["license"], config.get("source", config["name"])),
       "2025-09 problem.yaml: license or source")
expect(limits["time_limit"] == seconds, f"2025-09 problem.yaml: time limit {limits['time_limit']}, not {seconds}")
expect(round(limits["time_limit"] / limits["time_resolution"], 6).is_integer(),
       "2025-09 problem.yaml: the time limit is not a multiple of time_resolution")
expect(limits["time_multipliers"]["ac_to_time_limit"] == config["limits"]["time_multiplier"],
       "2025-09 problem.yaml: ac_to_time_limit is not the legacy time_multiplier")
expect(all(limits.get(k) == config["limits"].get(k) for k in ("memory", "output")), "2025-09 problem.yaml: limits")
expect(not any(os.path.exists(os.path.join(current, f)) for f in
               (".timelimit", "problem_statement", "output_validators")), "2025-09 package: a legacy file or folder")
for legacy_folder, folder in (("problem_statement", "statement"), ("data", "data"),
                              ("input_validators", "input_validators"), ("submissions", "submissions")):
    expect(same_files(legacy_folder, folder), f"2025-09 {folder}/ does not hold the legacy {legacy_folder}/")
validators = os.listdir(os.path.join(kattis, "output_validators")) if config["validation"] != "default" else []
expect(len(validators) == 1 and same_files(os.path.join("output_validators", *validators), "output_validator")
       or not validators and not os.path.exists(os.path.join(current, "output_validator")),
       "2025-09 output_validator/ is not the legacy package's one output validator")
expect(os.path.isfile(os.path.join(current, "statement", "problem.en.tex")), "2025-09 package: no statement")
expect(zipped(current), "the 2025-09 zip does not hold its folder")

# CMS: task.yaml, the tests from 0, the groups of gen/GEN as CMS's loader counts them.
task = yaml.safe_load(read(cms, "task.yaml"))
count = task["n_input"]
cms_tests = [(read(cms, "input", f"input{i}.txt"), read(cms, "output", f"output{i}.txt")) for i in range(count)]
expect(sorted(cms_tests) == sorted(tests), "the CMS folder's tests are not the Kattis package's")
expect(len(os.listdir(os.path.join(cms, "input"))) == count == len(os.listdir(os.path.join(cms, "output"))),
       "input/ or output/ holds files beyond n_input")
samples = [i for i, t in enumerate(cms_tests) if tests.get(t) == "sample"]
expect(samples == list(range(len(samples))), "the samples are not the first tests")
expect(str(task["public_testcases"]) == ",".join(map(str, samples)), "public_testcases are not the samples")
expect((task["name"], task["title"], task["time_limit"]) == (name, config["name"], seconds),
       "task.yaml: name, title or time limit")
expect(task["memory_limit"] == config["limits"]["memory"], "task.yaml: memory limit")
expect(task["infile"] == task["outfile"] == "", "task.yaml: not standard input and output")
groups = []
for line in read(cms, "gen", "GEN").decode().splitlines():
    test, _, comment = line.partition("#")
    if comment.strip().startswith("ST:"):
        groups.append([int(comment.strip()[3:]), 0])
    elif test.strip() or comment.strip().startswith("COPY:"):
        groups[-1][1] += 1
expect(task["score_type_parameters"] == groups, f"task.yaml's groups {task['score_type_parameters']}, GEN's {groups}")
expect(sum(p for p, _ in groups) == 100 and groups[0] == [0, len(samples)],
       "the points do not add up to 100 with the samples worth nothing")

# Polygon: problem.xml's test set and groups, the tests in CMS's order, the files it names.
problem = ElementTree.parse(os.path.join(polygon, "problem.xml")).getroot()
expect(problem.find("names/name").get("value") == config["name"], "problem.xml: name")
testset = problem.find("judging/testset[@name='tests']")
expect(int(testset.findtext("time-limit")) == round(seconds * 1000), "problem.xml: time limit")
expect(int(testset.findtext("memory-limit")) == task["memory_limit"] << 20, "problem.xml: memory limit")
expect(int(testset.findtext("test-count")) == count == len(testset.findall("tests/test")), "problem.xml: test count")
polygon_tests = [(read(polygon, "tests", f"{i:02d}"), read(polygon, "tests", f"{i:02d}.a")) for i in range(1, count + 1)]
expect(polygon_tests == cms_tests, "Polygon's tests are not CMS's, in the same order")
expect([i for i, t in enumerate(testset.iter("test")) if t.get("sample") == "true"] == samples,
       "problem.xml: the sample tests")
points = {g.get("name"): int(g.get("points")) for g in testset.iter("group")}
expect(sum(points.values()) == 100, "problem.xml: the groups' points")
for test in testset.iter("test"):
    expect(test.get("group") in points, f"problem.xml: a test in no group: {test.attrib}")
    if test.get("method") == "generated":
        program = test.get("cmd").split()[0]
        expect(any(f.split(".")[0] == program for f in os.listdir(os.path.join(polygon, "files"))),
               f"problem.xml: {program} has no source in files/")
named = [e.get("path") for e in problem.iter() if e.get("path")]
expect(all(os.path.isfile(os.path.join(polygon, p)) for p in named), f"problem.xml names a missing file: {named}")
tags = {os.path.basename(s.find("source").get("path")): s.get("tag") for s in problem.iter("solution")}
expect(list(tags.values()).count("main") == 1, "problem.xml: not one main solution")
verdicts = {"accepted": ("main", "accepted"), "wrong_answer": ("wrong-answer",),
            "time_limit_exceeded": ("time-limit-exceeded",)}
for verdict in os.listdir(os.path.join(kattis, "submissions")):
    for source in os.listdir(os.path.join(kattis, "submissions", verdict)):
        if os.path.isfile(os.path.join(kattis, "submissions", verdict, source)):
            expect(tags.get(source) in verdicts.get(verdict, ("rejected",)), f"{verdict}/{source} tagged {tags.get(source)}")
conf = {}
exec(read(polygon, "files", "cms_conf.py"), conf)
expect(conf["datasets"]["tests"] == {"score_type": task["score_type"], "score_type_parameters": groups},
       "files/cms_conf.py does not say task.yaml's score type")
expect(zipped(polygon), "the Polygon zip does not hold its folder")

# The statement, one PDF for both: the title and every line of the samples.
pdf = os.path.join(cms, "statement", "statement.pdf")
expect(read(pdf) == read(polygon, "statements", ".pdf", "english", "problem.pdf"), "the two statements differ")
text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, check=True, text=True).stdout
expect(config["name"] in text, "the statement has no title")
for (given, answer), folder in tests.items():
    if folder == "sample":
        missing = [line for line in (given + answer).decode().splitlines() if line not in text]
        expect(not missing, f"the statement lacks the sample's lines {missing}")

for fault in faults:
    print(f"{name}: {fault}")
sys.exit(1 if faults else 0)
