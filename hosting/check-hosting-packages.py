#!/usr/bin/python3
# Debian's own Python, which python3-yaml serves (another python3 may come first on PATH).
"""Checks the CMS folder and the Polygon package written beside a Kattis-format
package <dir>/<name> (hosting/make-hosting-packages.sh) against it, as far as
can be done without CMS or Polygon: task.yaml, gen/GEN and problem.xml parse
and agree with each other and with the Kattis package's tests, answers, limits
and submissions; the zip holds the folder; the statement PDF holds the title
and the samples. Prints every fault found; status 1 when there is one.
Usage: hosting/check-hosting-packages.py <kattis-package-dir>"""
import os
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

import yaml

kattis = os.path.abspath(sys.argv[1])
name = os.path.basename(kattis)
cms = os.path.join(os.path.dirname(kattis), "cms", name)
polygon = os.path.join(os.path.dirname(kattis), "polygon", name)
faults = []


def expect(condition, fault):
    if not condition:
        faults.append(fault)


def read(*path):
    with open(os.path.join(*path), "rb") as f:
        return f.read()


def files(top):
    return sorted(os.path.relpath(os.path.join(d, f), top) for d, _, names in os.walk(top) for f in names)


# The Kattis package's tests as (input, answer) pairs, the samples apart.
config = yaml.safe_load(read(kattis, "problem.yaml"))
tests = {}
for folder in ("sample", "secret"):
    for test in sorted(f[:-3] for f in os.listdir(os.path.join(kattis, "data", folder)) if f.endswith(".in")):
        tests[(read(kattis, "data", folder, test + ".in"), read(kattis, "data", folder, test + ".ans"))] = folder
seconds = float(read(kattis, ".timelimit"))
expect(seconds >= 1 and seconds * 10 == round(seconds * 10), f".timelimit {seconds}: not whole tenths from 1 s")
expect(float(config["limits"]["time_multiplier"]) > 0, "problem.yaml: no time_multiplier")

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
with zipfile.ZipFile(polygon + ".zip") as z:
    expect(sorted(n for n in z.namelist() if not n.endswith("/")) == files(polygon), "the zip does not hold the folder")
    expect(all(z.read(f) == read(polygon, f) for f in files(polygon)), "the zip's files are not the folder's")

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
