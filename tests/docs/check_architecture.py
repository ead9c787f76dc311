#!/usr/bin/python3
"""Every name docs/architecture.md gives in backticks exists in the code it describes.

A class, function, member, file, folder or settings key named in the architecture notes must be
found where such a thing is declared: a class by its declaration, a member or function by a
declaration in a header, a file pattern by a file, a settings key among the typed keys. Texts,
queries and commands in backticks (with blanks, quotes or program names) are not names.
Usage: check_architecture.py <source dir>
"""
import fnmatch
import glob
import os
import re
import sys

root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
doc = open(os.path.join(root, "docs", "architecture.md"), encoding="utf-8").read()

code_dirs = ["src", "tools", "tests", "bench"]
headers, sources = {}, {}
for d in code_dirs:
    for path in glob.glob(os.path.join(root, d, "**", "*"), recursive=True):
        if path.endswith((".h", ".cpp")) and os.path.isfile(path):
            text = open(path, encoding="utf-8", errors="replace").read()
            sources[path] = text
            if path.endswith(".h"):
                headers[path] = text
# Every file of the tree, build folders and git's own left out.
tree_files = []
for top, dirs, files in os.walk(root):
    dirs[:] = [d for d in dirs if not d.startswith(("build", ".git"))]
    tree_files += [os.path.relpath(os.path.join(top, f), root) for f in files]
settings_header = open(os.path.join(root, "src", "settings", "settings.h"), encoding="utf-8").read()


def declared_type(name):
    pattern = re.compile(r"\b(class|struct|enum class|enum|using|namespace)\s+%s\b" % re.escape(name))
    return [p for p, t in sources.items() if pattern.search(t)]


def declared_in(texts, name):
    pattern = re.compile(r"\b%s\b" % re.escape(name))
    return any(pattern.search(t) for t in texts)


problems = []
names = sorted(set(re.findall(r"`([^`\n]+)`", doc)))
for token in names:
    name = token.removesuffix("()")
    if re.search(r"[\s'\"<>=,]", name) or name.startswith(("velquo", "-")):
        continue  # a text, a query or a command
    if name.endswith("/"):
        if not os.path.isdir(os.path.join(root, name)):
            problems.append("folder %s" % token)
        continue
    if "." in name and "::" not in name:
        # A file or a pattern of files: looked for anywhere in the tree the notes describe.
        if name in ("opt.ini", "上一场.ini", "比赛记录.csv", "bg.jpg", "welcome.jpg", "next.png", "CMakeLists.txt"):
            continue  # the installation's and the build's files
        if not [f for f in tree_files if fnmatch.fnmatch(f, name) or fnmatch.fnmatch(f, "*/" + name)]:
            problems.append("file %s" % token)
        continue
    parts = name.split("::")
    if parts[0] == "vq":
        parts = parts[1:]
    if not parts or not all(re.fullmatch(r"[A-Za-z_*][A-Za-z0-9_*]*", p) for p in parts):
        continue
    if len(parts) == 1 and parts[0].startswith("m_"):
        # A data member, declared in its class's header.
        if not declared_in(headers.values(), parts[0]):
            problems.append("member %s" % token)
        continue
    if parts[0] == "Key" and len(parts) == 2 or (len(parts) == 1 and parts[0].islower() and "_" in parts[0]):
        key = parts[-1]
        if not re.search(r'\b%s\{"%s"\}' % (key, key), settings_header):
            problems.append("settings key %s" % token)
        continue
    if len(parts) == 1:
        n = parts[0]
        if n[0].isupper():
            # A class, or a control of one of the windows (a member of its form).
            if not declared_type(n) and not declared_in(headers.values(), n):
                problems.append("class or member %s" % token)
        elif not declared_in(headers.values(), n):
            if re.fullmatch(r"[a-z]+", n):
                # A plain word: a settings key when the settings know it, else not a name.
                if re.search(r'\b%s\{"%s"\}' % (n, n), settings_header) or n in ("text",):
                    continue
            problems.append("function %s" % token)
        continue
    owner, member = parts[-2], parts[-1]
    owners = declared_type(owner)
    if not owners:
        problems.append("class %s (in %s)" % (owner, token))
        continue
    # The member is declared beside its class: in the header, or for an enum in the same file.
    if not declared_in([sources[p] for p in owners], member):
        problems.append("member %s" % token)

if problems:
    print("docs/architecture.md names what the code does not have:")
    for p in problems:
        print("  " + p)
    sys.exit(1)
print("docs/architecture.md: %d names, every one found in the code" % len(names))
