# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The changelog's form, as antsibull-changelog reads it (ansible-test's changelog test runs that
# tool, which this project's build machines do not have): the fragments and the released
# changes use only the configured sections.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import os
import re

import pytest
import yaml

CHANGELOGS = os.path.join(os.path.dirname(__file__), "..", "..", "changelogs")


def load(*path):
    with open(os.path.join(CHANGELOGS, *path)) as stream:
        return yaml.safe_load(stream)


CONFIG = load("config.yaml")
SECTIONS = set(name for name, title in CONFIG["sections"]) | set(
    [CONFIG["prelude_section_name"], CONFIG["trivial_section_name"]])
FRAGMENTS = sorted(os.listdir(os.path.join(CHANGELOGS, CONFIG["notesdir"])))


def check_changes(changes):
    assert isinstance(changes, dict) and set(changes) <= SECTIONS, changes
    for section, entries in changes.items():
        if section == CONFIG["prelude_section_name"]:
            assert isinstance(entries, str) and entries.strip()
        else:
            assert isinstance(entries, list) and entries
            assert all(isinstance(entry, str) and entry.strip() for entry in entries)


@pytest.mark.parametrize("name", FRAGMENTS)
def test_fragment(name):
    assert name.endswith((".yml", ".yaml")) and not name.startswith(".")
    check_changes(load(CONFIG["notesdir"], name))


def test_changelog():
    changelog = load(CONFIG["changes_file"])
    assert set(changelog) == set(["ancestor", "releases"])
    for version, release in changelog["releases"].items():
        assert re.match(r"^\d+\.\d+\.\d+$", version)
        assert set(release) <= set(["changes", "fragments", "modules", "plugins", "objects",
                                    "release_date", "codename"])
        assert re.match(r"^\d{4}-\d{2}-\d{2}$", release["release_date"])
        check_changes(release.get("changes", {}))
        for module in release.get("modules", []):
            assert set(module) == set(["name", "description", "namespace"])
