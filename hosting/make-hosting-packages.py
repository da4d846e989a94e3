#!/usr/bin/env python3
"""Writes a task whose legacy Kattis-format package is <dir>/<name> for the
other systems that juries host on, beside it: the 2025-09 problem package
format, <dir>/2025-09/<name> and the same zipped; CMS's task folder (its
Italian layout), <dir>/cms/<name>; and Polygon's package, <dir>/polygon/<name>
and the same zipped. All get one time limit: the model solution's slowest run
over the tests times a factor, rounded up to a tenth of a second, at least a
second (in the legacy package: .timelimit, and the factor as problem.yaml's
time_multiplier). The tests are the legacy package's, the sample first, then
group by group (CMS's groups are runs of consecutive tests); the statement is
its LaTeX, rendered with pdflatex when that is installed. Without a model
solution (a package without answers) only the 2025-09 layout is written.

Usage: hosting/make-hosting-packages.py [options] <kattis-package-dir>
  --tests <file>        the tests in order, a line each (as in tests.txt):
                        <name> <group> <how> [<arguments>], <name>.in in
                        data/secret (data/sample for the group "sample"),
                        <how> "gen" when the generator made it from those
                        arguments; lines that begin with # are comments
  --groups <file>       the groups in order, a line each: <name> <points> [what
                        the tests share]; the points add up to 100, and the
                        sample is a group of its own worth nothing
  --model <program>     the model solution: reads a test, writes its answer
  --main <path>         its source in the legacy package (submissions/...)
  --generator <name>    the program that "gen" tests name
  --generator-source <file>  its one source file, for Polygon to run it
  --checker <file>      the checker's one source file: testlib's calling
                        convention, CMS's protocol with -DCMS; without one,
                        answers are compared token by token
  --checker-score <form>  the form of the score that the CMS folder's checker
                        is built with (BRANNIK_SCORE), by default the source's own
  --score-type <type>   CMS's score type of the groups: GroupMin (a group
                        scores its points times its worst test's score) or
                        GroupMul (times the product of its tests' scores)
The environment's TIME_FACTOR (default 5) is the factor of the time limit."""
import argparse
import fractions
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import uuid
import xml.etree.ElementTree as ElementTree
import zipfile

TEMPLATES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "templates")

# The submissions' folders in the legacy package, each the verdict its
# submissions must get, as Polygon tags it and as the 2025-09 format's folder.
VERDICTS = {
    "accepted": ("accepted", "accepted"),
    "wrong_answer": ("wrong-answer", "wrong_answer"),
    "time_limit_exceeded": ("time-limit-exceeded", "time_limit_exceeded"),
    "run_time_error": ("rejected", "run_time_error"),
}

# Polygon's names of the submissions' languages, by the source's extension.
LANGUAGES = {".cpp": "cpp.g++17", ".cc": "cpp.g++17", ".c": "c.gcc", ".py": "python.3", ".java": "java11"}


class Failure(Exception):
    pass


def fill(template, **values):
    """The template file with every @key@ replaced by its value; a key without
    a value is a fault of the template."""
    with open(os.path.join(TEMPLATES, template)) as f:
        text = f.read()

    def value(match):
        if match.group(1) not in values:
            raise Failure(f"{template}: no value for @{match.group(1)}@")
        return str(values[match.group(1)])

    return re.sub(r"@([a-z_]+)@", value, text)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


def copy(source, target):
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copy2(source, target)


def zip_folder(folder, path):
    """The folder's files, zipped with their paths from its top."""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for top, folders, names in os.walk(folder):
            folders.sort()
            for name in sorted(names):
                z.write(os.path.join(top, name), os.path.relpath(os.path.join(top, name), folder))


def lines(path):
    """The words of each line of a list that is neither a comment nor blank."""
    with open(path) as f:
        return [line.split() for line in f if line.strip() and not line.startswith("#")]


def legacy_settings(path):
    """The legacy problem.yaml's keys, its limits apart: the flat form the
    tasks' own files have, every value a scalar."""
    settings, limits, section = {}, {}, None
    with open(path) as f:
        for line in f:
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            match = re.fullmatch(r"( *)([a-z_]+):\s*(.*?)\s*", line.rstrip("\n"))
            if not match or (match.group(1) and section != "limits"):
                raise Failure(f"{path}: not a line of a flat problem.yaml: {line.strip()}")
            key, text = match.group(2), match.group(3)
            if text.startswith('"'):
                text = json.loads(text)
            if match.group(1):
                limits[key] = text
            elif text:
                settings[key] = text
            else:
                section = key
    return settings, limits


class Task:
    """The legacy package and the task's lists: its groups, its tests in the
    hosting order, the figures every package shares."""

    def __init__(self, args):
        self.args = args
        self.kattis = os.path.abspath(args.package)
        self.name = os.path.basename(self.kattis)
        self.top = os.path.dirname(self.kattis)
        self.settings, self.limits = legacy_settings(os.path.join(self.kattis, "problem.yaml"))
        self.title = self.settings["name"]
        self.memory = int(self.limits.get("memory", 1024))
        self.factor = os.environ.get("TIME_FACTOR") or "5"
        if not re.fullmatch(r"[0-9]+(\.[0-9]*)?|\.[0-9]+", self.factor):
            raise Failure(f"TIME_FACTOR is not a number: {self.factor}")
        if args.score_type not in ("GroupMin", "GroupMul"):
            raise Failure(f"not a score type of groups: {args.score_type}")
        self.seconds = None
        if args.tests:
            self.read_lists()

    def read_lists(self):
        args = self.args
        self.groups = [("sample", 0)] + [(g[0], int(g[1])) for g in lines(args.groups) if g[0] != "sample"]
        points = dict(self.groups)
        if sum(points.values()) != 100:
            raise Failure(f"{args.groups}: the points add up to {sum(points.values())}, not 100")
        # Each test as (<path in data/ without .in>, <group>, <generator call or None>).
        listed = []
        for test, group, how, *call in lines(args.tests):
            if group not in points:
                raise Failure(f"{args.tests}: {test}: no such group: {group}")
            folder = "sample" if group == "sample" else "secret"
            listed.append((f"{folder}/{test}", group, " ".join([args.generator] + call) if how == "gen" else None))
        # A sample that the list does not name is made by hand.
        named = {test for test, _, _ in listed}
        samples = [(f"sample/{f[:-3]}", "sample", None) for f in self.data_files("sample") if f"sample/{f[:-3]}" not in named]
        self.order = [t for group, _ in self.groups for t in samples + listed if t[1] == group]
        for group, _ in self.groups:
            if not self.tests_of(group):
                raise Failure(f"{args.groups}: the group {group} has no test")
        ordered = {test for test, _, _ in self.order}
        for folder in ("sample", "secret"):
            for f in self.data_files(folder):
                if f"{folder}/{f[:-3]}" not in ordered:
                    raise Failure(f"{folder}/{f} is in no group of {args.tests}")
        for test, _, _ in self.order:
            if not (os.path.isfile(self.data(test, ".in")) and os.path.isfile(self.data(test, ".ans"))):
                raise Failure(f"data/{test}: no test or no answer")

    def data_files(self, folder):
        return sorted(f for f in os.listdir(os.path.join(self.kattis, "data", folder)) if f.endswith(".in"))

    def data(self, test, extension):
        return os.path.join(self.kattis, "data", test + extension)

    def tests_of(self, group):
        return [t for t in self.order if t[1] == group]

    def submissions(self):
        """The legacy package's submissions as (<folder>, <path>), the model
        solution first; a folder outside VERDICTS is refused."""
        folder = os.path.join(self.kattis, "submissions")
        found = [(self.args.main.split("/")[1], os.path.join(self.kattis, self.args.main))]
        for verdict in sorted(os.listdir(folder)):
            if verdict not in VERDICTS:
                raise Failure(f"submissions/{verdict}: a folder of no verdict known")
            for source in sorted(os.listdir(os.path.join(folder, verdict))):
                path = os.path.join(folder, verdict, source)
                if os.path.isfile(path) and path != found[0][1]:
                    found.append((verdict, path))
        return found

    def cms_parameters(self):
        """Each group's points and count for CMS, [[points, count], ...]."""
        return json.dumps([[points, len(self.tests_of(group))] for group, points in self.groups])


def time_limit(task):
    """The one time limit: the model solution's slowest run, wall clock, times
    the factor, in whole tenths of a second, at least a second. It is written
    into the legacy package here (.timelimit and time_multiplier), read from
    task.seconds by every other package."""
    slowest = 0
    for test, _, _ in task.order:
        with open(task.data(test, ".in"), "rb") as given:
            start = time.perf_counter_ns()
            run = subprocess.run([task.args.model], stdin=given, stdout=subprocess.DEVNULL)
            slowest = max(slowest, time.perf_counter_ns() - start)
        if run.returncode != 0:
            raise Failure(f"the model solution fails on {test}")
    tenths = max(10, math.ceil(slowest * fractions.Fraction(task.factor) / 10**8))
    task.seconds = f"{tenths // 10}.{tenths % 10}"
    print(f"{task.name}: the model solution's slowest run {slowest / 1e9:.3f} s, times {task.factor}:"
          f" time limit {task.seconds} s")
    write(os.path.join(task.kattis, ".timelimit"), task.seconds + "\n")
    path = os.path.join(task.kattis, "problem.yaml")
    with open(path) as f:
        text = re.sub(r"(?m)^ *time_multiplier:.*\n", "", f.read())
    if re.search(r"(?m)^limits:", text):
        text = re.sub(r"(?m)^limits:.*$", lambda m: f"{m.group(0)}\n  time_multiplier: {task.factor}", text, count=1)
    else:
        text += f"limits:\n  time_multiplier: {task.factor}\n"
    write(path, text)


def statement(task, english, work):
    """The legacy package's LaTeX in a document of its own with the limits and
    the samples, in <english> (Polygon's statements/english); returns its PDF,
    or None without pdflatex."""
    copy(os.path.join(task.kattis, "problem_statement", "problem.en.tex"), os.path.join(english, "problem.en.tex"))
    samples = []
    for number, f in enumerate(task.data_files("sample"), 1):
        example = f"example.{number:02d}"
        copy(task.data(f"sample/{f[:-3]}", ".in"), os.path.join(english, example))
        copy(task.data(f"sample/{f[:-3]}", ".ans"), os.path.join(english, example + ".a"))
        samples.append(f"\\subsection*{{Input {number:02d}}}\\verbatiminput{{{example}}}\n"
                       f"\\subsection*{{Output {number:02d}}}\\verbatiminput{{{example}.a}}")
    write(os.path.join(english, "problem.tex"),
          fill("statement.tex", title=task.title, seconds=task.seconds, memory=task.memory, samples="\n".join(samples)))
    if not shutil.which("pdflatex"):
        print(f"{task.name}: pdflatex not found, the statement PDF is left out (apt-get install texlive-latex-base)",
              file=sys.stderr)
        return None
    latex = os.path.join(work, "latex")
    shutil.copytree(english, latex)
    if subprocess.run(["pdflatex", "-interaction=batchmode", "-halt-on-error", "problem.tex"], cwd=latex,
                      stdout=subprocess.DEVNULL).returncode != 0:
        with open(os.path.join(latex, "problem.log")) as log:
            raise Failure("pdflatex cannot render the statement: " + "".join(log.readlines()[-20:]))
    return os.path.join(latex, "problem.pdf")


def cms_folder(task, pdf):
    """CMS: task.yaml, input/ and output/ from 0, gen/GEN with the groups."""
    args, cms = task.args, os.path.join(task.top, "cms", task.name)
    public = []
    for index, (test, group, _) in enumerate(task.order):
        copy(task.data(test, ".in"), os.path.join(cms, "input", f"input{index}.txt"))
        copy(task.data(test, ".ans"), os.path.join(cms, "output", f"output{index}.txt"))
        if group == "sample":
            public.append(str(index))
    write(os.path.join(cms, "task.yaml"),
          fill("task.yaml", name=task.name, title=task.title, title_yaml=json.dumps(task.title), seconds=task.seconds,
               memory=task.memory, count=len(task.order), public=",".join(public),
               checker_score=args.checker_score or "of its source", score_type=args.score_type,
               parameters=task.cms_parameters()))
    gen = ["# The tests of input/ in order, a line each: the arguments of the program",
           "# named after it, or #COPY: for a test made by hand. A group begins with",
           f'# "# ST: <points>"; {args.score_type} scores it (task.yaml).']
    previous = None
    for index, (test, group, call) in enumerate(task.order):
        if group != previous:
            gen.append(f"# ST: {dict(task.groups)[group]}")
        previous = group
        program, _, arguments = (call or "").partition(" ")
        gen.append(f"{arguments} # {program}, {test}" if call else f"#COPY: input/input{index}.txt, {test}")
    write(os.path.join(cms, "gen", "GEN"), "\n".join(gen) + "\n")
    copy(os.path.join(task.kattis, args.main), os.path.join(cms, "sol", os.path.basename(args.main)))
    if args.checker:
        os.makedirs(os.path.join(cms, "check"), exist_ok=True)
        score = [f'-DBRANNIK_SCORE="{args.checker_score}"'] if args.checker_score else []
        command = [os.environ.get("CXX", "g++"), "-O2", "-static", "-DCMS", *score,
                   "-o", os.path.join(cms, "check", "checker"), args.checker]
        if subprocess.run(command).returncode != 0:
            raise Failure(f"{args.checker} does not build for CMS")
    if pdf:
        copy(pdf, os.path.join(cms, "statement", "statement.pdf"))


def polygon_xml(task, pdf, solutions):
    """Polygon's problem.xml: the test set with the limits and the groups (a
    group's points stand on its first test: a complete group scores their
    sum), the generator, the checker and the solutions by their tags."""
    args, E = task.args, ElementTree.SubElement
    problem = ElementTree.Element("problem", {"revision": "1", "short-name": task.name})
    E(E(problem, "names"), "name", language="english", value=task.title)
    statements = E(problem, "statements")
    E(statements, "statement", {"charset": "UTF-8", "language": "english", "path": "statements/english/problem.tex",
                                "type": "application/x-tex"})
    if pdf:
        E(statements, "statement", language="english", path="statements/.pdf/english/problem.pdf",
          type="application/pdf")
    testset = E(E(problem, "judging", {"input-file": "", "output-file": ""}), "testset", name="tests")
    E(testset, "time-limit").text = str(round(float(task.seconds) * 1000))
    E(testset, "memory-limit").text = str(task.memory * 1024 * 1024)
    E(testset, "test-count").text = str(len(task.order))
    E(testset, "input-path-pattern").text = "tests/%02d"
    E(testset, "answer-path-pattern").text = "tests/%02d.a"
    tests, previous = E(testset, "tests"), None
    for _, group, call in task.order:
        test = {"cmd": call} if call and args.generator_source else {}
        test.update({"group": group, "method": "generated" if test else "manual",
                     "points": str(dict(task.groups)[group] if group != previous else 0)})
        if group == "sample":
            test["sample"] = "true"
        E(tests, "test", test)
        previous = group
    groups = E(testset, "groups")
    for group, points in task.groups:
        E(groups, "group", {"feedback-policy": "complete" if group == "sample" else "icpc", "name": group,
                            "points": str(points), "points-policy": "complete-group"})
    files = E(problem, "files")
    E(files, "resources")
    if args.generator_source:
        source = "files/" + os.path.basename(args.generator_source)
        E(E(E(files, "executables"), "executable"), "source", language_of(source))
    assets = E(problem, "assets")
    if args.checker:
        checker = E(assets, "checker", type="testlib")
        E(checker, "source", path="files/check.cpp", type="cpp.g++17")
        E(checker, "copy", path="check.cpp")
    else:
        E(assets, "checker", name="std::wcmp.cpp", type="testlib")
    listed = E(assets, "solutions")
    for tag, path in solutions:
        E(E(listed, "solution", tag=tag), "source", language_of(path))
    ElementTree.indent(problem, "    ")
    return '<?xml version="1.0" encoding="utf-8" standalone="no"?>\n' + ElementTree.tostring(problem, "unicode") + "\n"


def language_of(path):
    extension = os.path.splitext(path)[1]
    return {"path": path, "type": LANGUAGES[extension]} if extension in LANGUAGES else {"path": path}


def polygon_package(task, pdf):
    """Polygon: problem.xml, tests/NN and NN.a, files/, solutions/, statements/."""
    args, polygon = task.args, os.path.join(task.top, "polygon", task.name)
    for number, (test, _, _) in enumerate(task.order, 1):
        copy(task.data(test, ".in"), os.path.join(polygon, "tests", f"{number:02d}"))
        copy(task.data(test, ".ans"), os.path.join(polygon, "tests", f"{number:02d}.a"))
    os.makedirs(os.path.join(polygon, "files"), exist_ok=True)
    if args.checker:
        copy(args.checker, os.path.join(polygon, "files", "check.cpp"))
        copy(args.checker, os.path.join(polygon, "check.cpp"))
    if args.generator_source:
        copy(args.generator_source, os.path.join(polygon, "files", os.path.basename(args.generator_source)))
    if pdf:
        copy(pdf, os.path.join(polygon, "statements", ".pdf", "english", "problem.pdf"))
    write(os.path.join(polygon, "files", "cms_conf.py"),
          fill("cms_conf.py", score_type=args.score_type, parameters=task.cms_parameters()))
    # The submissions by their folder's verdict, the model solution as the main one.
    solutions = []
    for verdict, source in task.submissions():
        path = "solutions/" + os.path.basename(source)
        if os.path.exists(os.path.join(polygon, path)):
            raise Failure(f"two submissions named {os.path.basename(source)}")
        copy(source, os.path.join(polygon, path))
        solutions.append(("main" if not solutions else VERDICTS[verdict][0], path))
    write(os.path.join(polygon, "problem.xml"), polygon_xml(task, pdf, solutions))
    zip_folder(polygon, polygon + ".zip")


def package_2025_09(task):
    """The 2025-09 layout of the legacy package: the same files, in statement/
    for problem_statement/ and output_validator/ for the one program of
    output_validators/, and problem.yaml with the time limit itself (no
    .timelimit) and the format's keys."""
    legacy, out = task.kattis, os.path.join(task.top, "2025-09", task.name)
    folders = {"problem_statement": "statement", "data": "data", "input_validators": "input_validators",
               "generators": "generators", "submissions": "submissions"}
    for folder, target in folders.items():
        if os.path.isdir(os.path.join(legacy, folder)):
            shutil.copytree(os.path.join(legacy, folder), os.path.join(out, target))
    if os.path.isdir(os.path.join(legacy, "output_validators")):
        validators = os.listdir(os.path.join(legacy, "output_validators"))
        if len(validators) != 1:
            raise Failure(f"output_validators/ holds {len(validators)} programs, the 2025-09 format takes one")
        shutil.copytree(os.path.join(legacy, "output_validators", validators[0]), os.path.join(out, "output_validator"))
    for folder in os.listdir(os.path.join(out, "submissions")) if os.path.isdir(os.path.join(out, "submissions")) else []:
        if folder not in VERDICTS:
            raise Failure(f"submissions/{folder}: a folder of no verdict known")
        if VERDICTS[folder][1] != folder:
            os.rename(os.path.join(out, "submissions", folder), os.path.join(out, "submissions", VERDICTS[folder][1]))
    write(os.path.join(out, "problem.yaml"), problem_yaml_2025_09(task))
    zip_folder(out, out + ".zip")


def problem_yaml_2025_09(task):
    """The legacy problem.yaml's keys as the 2025-09 format has them: author as
    credits, source and source_url as source, the time limit itself. A key
    that has no place there is refused, not dropped."""
    settings, limits = dict(task.settings), dict(task.limits)
    limits.pop("time_multiplier", None)
    known = {key: settings.pop(key, None) for key in ("name", "author", "source", "source_url", "license", "validation")}
    if settings or set(limits) - {"memory", "output", "code"}:
        raise Failure(f"problem.yaml: {', '.join([*settings, *limits])}: not carried to the 2025-09 layout")
    credits = f"credits:\n  authors: {json.dumps(known['author'])}\n" if known["author"] else ""
    source = f"\n  name: {json.dumps(known['source'] or task.title)}"
    if known["source_url"]:
        source += f"\n  url: {json.dumps(known['source_url'])}"
    time_limit = ("  # The model solution's slowest run times ac_to_time_limit, rounded up to\n"
                  "  # time_resolution, at least 1 s: the same limit as the other packages'.\n"
                  f"  time_limit: {task.seconds}\n  time_resolution: 0.1\n") if task.seconds else ""
    return fill("problem.yaml", title=task.title, title_yaml=json.dumps(task.title),
                uuid=uuid.uuid5(uuid.NAMESPACE_URL, f"problem:{task.name}"), credits=credits, source=source,
                license=known["license"] or "unknown", time_limit=time_limit, factor=task.factor,
                limits="".join(f"  {key}: {value}\n" for key, value in limits.items())).rstrip("\n") + "\n"


def main():
    parser = argparse.ArgumentParser(usage="%(prog)s [options] <kattis-package-dir>")
    for option in ("tests", "groups", "model", "main", "generator", "generator-source", "checker", "checker-score"):
        parser.add_argument("--" + option, default="")
    parser.add_argument("--score-type", default="GroupMin")
    parser.add_argument("package")
    args = parser.parse_args()
    hosted = (args.tests, args.groups, args.model, args.main)
    if any(hosted) and not all(hosted):
        parser.error("--tests, --groups, --model and --main go together")
    try:
        task = Task(args)
        for product in ("2025-09", "cms", "polygon"):
            path = os.path.join(task.top, product, task.name)
            shutil.rmtree(path, ignore_errors=True)
            if os.path.exists(path + ".zip"):
                os.remove(path + ".zip")
        if not args.model:
            package_2025_09(task)
            return 0
        time_limit(task)
        package_2025_09(task)
        with tempfile.TemporaryDirectory() as work:
            pdf = statement(task, os.path.join(task.top, "polygon", task.name, "statements", "english"), work)
            cms_folder(task, pdf)
            polygon_package(task, pdf)
    except (Failure, OSError) as fault:
        print(f"{sys.argv[0]}: {fault}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
