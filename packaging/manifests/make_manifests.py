#!/usr/bin/env python3
"""Writes the package managers' manifests for one version: winget's three files (version,
defaultLocale, installer: the two setup programs, silent, per machine) and Scoop's (the zip, its x64
and x86 folders). The addresses are the files' names below --url; the hashes are the files' own.

    make_manifests.py --version 1.00 --url https://.../v1.00 --dist build/dist --out build/dist/manifests
"""
import argparse
import hashlib
import json
import pathlib

PACKAGE_ID = "Kovaren.Kovaren"
WINGET_MANIFEST_VERSION = "1.12.0"
WINGET_SCHEMA = "https://aka.ms/winget-manifest.{kind}.1.12.0.schema.json"
LOCALE = "ja-JP"
PUBLISHER = "Kovaren developers"
LICENSE = "Proprietary (all rights reserved)"
SHORT_DESCRIPTION = "秋のもみじがデスクトップの上を舞い落ちるスクリーン セーバー"
ENGLISH_DESCRIPTION = "A screen saver: autumn maple leaves fall over a snapshot of your desktop"
# Windows's own verb for a .scr file: opens the screen-saver settings with it chosen.
INSTALL_VERB = "rundll32.exe desktop.cpl,InstallScreenSaver"
ARCHES = (("x64", "64bit"), ("x86", "32bit"))


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as file:
        for block in iter(lambda: file.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def yaml_text(value):
    """A YAML double-quoted scalar: versions like 1.10 and all-digit hashes stay strings."""
    return json.dumps(value, ensure_ascii=False)


def yaml_document(kind, fields):
    """One winget manifest: its schema line, then KEY: value lines; a list of entries is a block of
    mappings (the installers), any other list a flow sequence."""
    lines = [f"# yaml-language-server: $schema={WINGET_SCHEMA.format(kind=kind)}"]
    for key, value in fields:
        if isinstance(value, list) and value and isinstance(value[0], list):
            lines.append(f"{key}:")
            for entry in value:
                for index, (entry_key, entry_value) in enumerate(entry):
                    lead = "- " if index == 0 else "  "
                    lines.append(f"{lead}{entry_key}: {yaml_text(entry_value)}")
        else:
            lines.append(f"{key}: {yaml_text(value)}")
    return "\n".join(lines) + "\n"


def winget_manifests(version, url, dist):
    head = [("PackageIdentifier", PACKAGE_ID), ("PackageVersion", version)]
    tail = [("ManifestVersion", WINGET_MANIFEST_VERSION)]
    installers = []
    for arch, _ in ARCHES:
        name = f"KovarenSetup-{version}-{arch}.exe"
        installers.append([("Architecture", arch), ("InstallerUrl", f"{url}/{name}"),
                           ("InstallerSha256", sha256(dist / name).upper())])
    return {
        f"{PACKAGE_ID}.yaml": yaml_document("version", head + [
            ("DefaultLocale", LOCALE), ("ManifestType", "version")] + tail),
        f"{PACKAGE_ID}.locale.{LOCALE}.yaml": yaml_document("defaultLocale", head + [
            ("PackageLocale", LOCALE), ("Publisher", PUBLISHER), ("PackageName", "Kovaren"),
            ("License", LICENSE), ("ShortDescription", SHORT_DESCRIPTION),
            ("ManifestType", "defaultLocale")] + tail),
        # The setups are NSIS programs (/S is silent) that install into the system folder.
        f"{PACKAGE_ID}.installer.yaml": yaml_document("installer", head + [
            ("InstallerType", "nullsoft"), ("Scope", "machine"), ("InstallModes", ["silent"]),
            ("Installers", installers), ("ManifestType", "installer")] + tail),
    }


def scoop_manifest(version, url, dist):
    zip_name = f"Kovaren-{version}-windows.zip"
    address = f"{url}/{zip_name}"
    digest = sha256(dist / zip_name)
    architecture = {scoop_arch: {"url": address, "hash": digest, "extract_dir": folder}
                    for folder, scoop_arch in ARCHES}
    # A Scoop install is the user's, without administrator rights: the saver stays in the app's
    # folder and Windows's own verb makes it the current screen saver when the user asks.
    manifest = {
        "version": version,
        "description": ENGLISH_DESCRIPTION,
        "homepage": url.split("/releases/")[0],
        "license": "Proprietary",
        "architecture": architecture,
        "post_install": [
            "Write-Host 'Kovaren: to make it your screen saver, run (or right-click Kovaren.scr and choose Install):'",
            f'Write-Host "  {INSTALL_VERB} `"$dir\\Kovaren.scr`""',
        ],
    }
    return {"kovaren.json": json.dumps(manifest, ensure_ascii=False, indent=4) + "\n"}


def write_all(folder, files):
    folder.mkdir(parents=True, exist_ok=True)
    for name, text in files.items():
        part = folder / (name + ".part")
        part.write_text(text, encoding="utf-8", newline="\n")
        part.replace(folder / name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--version", "--url", "--dist", "--out"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    dist, out, url = pathlib.Path(args.dist), pathlib.Path(args.out), args.url.rstrip("/")
    write_all(out / "winget", winget_manifests(args.version, url, dist))
    write_all(out / "scoop", scoop_manifest(args.version, url, dist))


if __name__ == "__main__":
    main()
