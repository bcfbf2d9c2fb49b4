#!/usr/bin/env python3
"""The package managers' manifests the build writes: each validates against its published schema
(vendored in tests/files/schemas, checked offline), names this version as text, and names every
download by the published address with the file's own SHA-256. Environment (set by CTest):
KOVAREN_DIST_DIR, KOVAREN_RELEASE, KOVAREN_DOWNLOAD_URL, KOVAREN_SOURCE_DIR."""
import hashlib
import json
import os
import pathlib
import sys

import jsonschema
import yaml

DIST = pathlib.Path(os.environ["KOVAREN_DIST_DIR"])
RELEASE = os.environ["KOVAREN_RELEASE"]
URL = os.environ["KOVAREN_DOWNLOAD_URL"].rstrip("/")
SCHEMAS = pathlib.Path(os.environ["KOVAREN_SOURCE_DIR"]) / "tests/files/schemas"
WINGET = DIST / "manifests/winget"
SCOOP = DIST / "manifests/scoop/kovaren.json"

# manifest file | its schema | its ManifestType
WINGET_FILES = [
    ("Kovaren.Kovaren.yaml", "manifest.version.1.12.0.json", "version"),
    ("Kovaren.Kovaren.locale.ja-JP.yaml", "manifest.defaultLocale.1.12.0.json", "defaultLocale"),
    ("Kovaren.Kovaren.installer.yaml", "manifest.installer.1.12.0.json", "installer"),
]

failures = []
passes = 0


def check(what, condition):
    global passes
    if condition:
        passes += 1
    else:
        failures.append(what)
        print(f"FAIL: {what}", file=sys.stderr)


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def schema_errors(document, schema_name):
    schema = json.loads((SCHEMAS / schema_name).read_text(encoding="utf-8"))
    validator = jsonschema.validators.validator_for(schema)(schema)
    return [f"{'/'.join(map(str, e.path))}: {e.message}" for e in validator.iter_errors(document)]


def download(url):
    """The dist file a published address names, or None when it is not below the release's address."""
    folder, _, name = url.rpartition("/")
    return DIST / name if folder == URL else None


winget = {}
for name, schema, kind in WINGET_FILES:
    text = (WINGET / name).read_text(encoding="utf-8")
    document = yaml.safe_load(text)  # YAML 1.1, as winget reads it: an unquoted 1.10 would be 1.1
    winget[kind] = document
    errors = schema_errors(document, schema)
    check(f"{name} validates against {schema}: {errors}", not errors)
    check(f"{name} is a {kind} manifest", document.get("ManifestType") == kind)
    check(f"{name} names version '{RELEASE}' as text", document.get("PackageVersion") == RELEASE)
    check(f"{name} names one package", document.get("PackageIdentifier") == "Kovaren.Kovaren")

installer = winget["installer"]
check("the setups are NSIS programs, installed per machine",
      (installer.get("InstallerType"), installer.get("Scope")) == ("nullsoft", "machine"))
entries = installer.get("Installers", [])
check("one x64 and one x86 setup", sorted(e.get("Architecture") for e in entries) == ["x64", "x86"])
for entry in entries:
    arch = entry.get("Architecture")
    file = download(entry.get("InstallerUrl", ""))
    check(f"{arch}: the address names KovarenSetup-{RELEASE}-{arch}.exe below {URL}",
          file is not None and file.name == f"KovarenSetup-{RELEASE}-{arch}.exe")
    if file is not None and file.is_file():
        check(f"{arch}: InstallerSha256 is the setup's own", entry.get("InstallerSha256", "").lower() == sha256(file))

scoop = json.loads(SCOOP.read_text(encoding="utf-8"))
errors = schema_errors(scoop, "scoop.schema.json")
check(f"kovaren.json validates against Scoop's schema: {errors}", not errors)
check(f"kovaren.json names version '{RELEASE}'", scoop.get("version") == RELEASE)
zip_file = DIST / f"Kovaren-{RELEASE}-windows.zip"
for scoop_arch, folder in (("64bit", "x64"), ("32bit", "x86")):
    entry = scoop.get("architecture", {}).get(scoop_arch, {})
    check(f"Scoop {scoop_arch}: the zip's address", download(entry.get("url", "")) == zip_file)
    check(f"Scoop {scoop_arch}: the zip's own hash", entry.get("hash") == sha256(zip_file))
    check(f"Scoop {scoop_arch}: takes the zip's {folder} folder", entry.get("extract_dir") == folder)
check("Scoop tells the user how to make Kovaren the screen saver",
      any("InstallScreenSaver" in line for line in scoop.get("post_install", [])))

print(f"{passes} passed, {len(failures)} failed")
sys.exit(1 if failures or not passes else 0)
