# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The shared code of the action plugins and modules, with zornectl replaced by a recorder: the
# argv and environment of each task, where its secrets go, and the result from zornectl's JSON
# line and exit status.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os
import stat

import pytest

from ansible_collections.azu.zorne.plugins.plugin_utils.zornectl_action import run_here, run_task

SERVER = "192.0.2.7"
DONE = json.dumps(dict(server=SERVER, outcome="done", changed=True, message="stored", status=0,
                       diff="-a=********\n+a=********\n"))
UNCHANGED = json.dumps(dict(server=SERVER, outcome="done", changed=False,
                            message="unchanged: the server already holds it", status=0, diff=""))
FAILED = json.dumps(dict(server=SERVER, outcome="failed", changed=False,
                         message="the server cannot be reached", status=7004, diff=""))


class Zornectl(object):
    """Records each run, with the contents and modes of the files it was handed, and answers."""

    def __init__(self, rc=0, out=DONE, err=""):
        self.answer = (rc, out, err)
        self.runs = []

    def __call__(self, argv, environment):
        files = {}
        for word in argv:
            path = word.partition("=")[2]
            if path.startswith(os.sep) and os.path.isfile(path):
                with open(path) as secret:
                    files[path] = (secret.read(), stat.S_IMODE(os.stat(path).st_mode),
                                   stat.S_IMODE(os.stat(os.path.dirname(path)).st_mode))
        self.runs.append(dict(argv=argv, environment=environment, files=files))
        return self.answer

    @property
    def argv(self):
        return self.runs[-1]["argv"]


def task(name, args, zornectl, check_mode=False, diff=False, temporary=None):
    args = dict(args)
    if name != "zorne_discovery_info":
        args.setdefault("server", SERVER)
    args.setdefault("zornectl_path", "/opt/azuqvc/bin/zornectl")
    return run_task(name, args, check_mode, diff, runner=zornectl, which=lambda path: None,
                    temporary=temporary)


# module, options, check mode: the words between the page command and "--json" (secrets aside),
# and the words after it
ARGV = [
    ("zorne_snmp", dict(get_community="-public", set_community="--x"), False,
     ["--version=1"], ["--deadline=120", "--", SERVER]),
    ("zorne_ftp", dict(host="-h", user="-u", destination="-d"), False,
     ["--host=-h", "--user=-u", "--destination=-d"], ["--deadline=120", "--", SERVER]),
    ("zorne_accounting", dict(system="standard", account_type="general", account_id="-1"), False,
     ["--system=standard", "--type=general", "--account-id=-1"], ["--deadline=120", "--", SERVER]),
    ("zorne_http", dict(http_port=8080, server="-odd", deadline=9, reboot=True, backup_dir="/b"),
     False, ["--http-port=8080"], ["--deadline=9", "--reboot=yes", "--backup=/b", "--", "-odd"]),
    ("zorne_http", dict(http_port=8080, reboot=True), True,
     ["--http-port=8080"], ["--deadline=120", "--dry-run", "--", SERVER]),
    ("zorne_dual_ip", dict(address="100.64.1.20", mask="255.255.255.0"), False,
     ["--address=100.64.1.20", "--mask=255.255.255.0"], ["--deadline=120", "--", SERVER]),
    ("zorne_dual_ip", dict(state="absent"), True, ["--delete"],
     ["--deadline=120", "--dry-run", "--", SERVER]),
    ("zorne_tallyon", dict(user_id="-audit", zorne_password_file="/etc/zorne/pw"), False,
     ["--user-id=-audit"], ["--deadline=120", "--zorne-password-file=/etc/zorne/pw", "--", SERVER]),
    ("zorne_info", dict(reveal=True), False, [], ["--deadline=120", "--reveal", "--", SERVER]),
    ("zorne_discovery_info", dict(), False, [], []),
]


@pytest.mark.parametrize("name, args, check_mode, values, after", ARGV,
                         ids=["%s-%d" % (row[0], i) for i, row in enumerate(ARGV)])
def test_argv(name, args, check_mode, values, after):
    zornectl = Zornectl(out=UNCHANGED)
    task(name, args, zornectl, check_mode=check_mode)
    argv = zornectl.argv
    assert argv[0] == "/opt/azuqvc/bin/zornectl"
    json_at = argv.index("--json")
    assert [word for word in argv[2:json_at] if "-file=" not in word] == values
    assert argv[json_at + 1:] == after


# module, other options, secret options with zornectl's flag for each: the value in an owner-only
# file, never in argv, the environment or the result, even when zornectl repeats it
SECRETS = [
    ("zorne_admin", dict(), dict(new_password=("-n3w", "--new-password-file"))),
    ("zorne_ftp", dict(host="h", user="u"), dict(ftp_password=("ftp pw", "--ftp-password-file"))),
    ("zorne_tallyon", dict(), dict(passcode=("0000", "--passcode-file"))),
    ("zorne_snmp", dict(version="3"), dict(auth_password=("auth-pw", "--auth-password-file"),
                                           priv_password=("priv-pw", "--priv-password-file"))),
    ("zorne_snmp", dict(), dict(get_community=("-getc", "--get-community-file"),
                                set_community=("setc", "--set-community-file"))),
]


@pytest.mark.parametrize("name, plain, secrets", SECRETS)
def test_secrets_in_files(tmp_path, name, plain, secrets):
    values = [value for value, flag in secrets.values()] + ["zorne-pw"]
    echo = json.dumps(dict(server=SERVER, outcome="done", changed=True, status=0,
                           message=" ".join(values)))
    zornectl = Zornectl(out=echo, err=" ".join(values))
    args = dict(plain, zorne_password="zorne-pw")
    args.update((option, value) for option, (value, flag) in secrets.items())
    result = task(name, args, zornectl, temporary=str(tmp_path))
    run = zornectl.runs[-1]
    assert run["environment"] == dict(ZORNE_PASSWORD="zorne-pw")
    handed = dict(word.split("=", 1) for word in run["argv"] if "-file=" in word)
    assert sorted(handed) == sorted(flag for value, flag in secrets.values())
    for value, flag in secrets.values():
        content, mode, folder = run["files"][handed[flag]]
        assert (content, mode, folder) == (value, 0o600, 0o700)
    for value in values:
        assert value not in " ".join(run["argv"]) and value not in json.dumps(result)
    assert os.listdir(str(tmp_path)) == []  # the folder is gone


def test_communities_kept_out_of_the_result():
    echo = json.dumps(dict(server=SERVER, outcome="failed", changed=False, status=7004,
                           message="no community -getc or setc here"))
    result = task("zorne_snmp", dict(get_community="-getc", set_community="setc"), Zornectl(1, echo))
    assert result["failed"] and "getc" not in json.dumps(result) and "setc" not in json.dumps(result)


def test_secret_file_removed_when_zornectl_cannot_run(tmp_path):
    def missing(argv, environment):
        raise OSError("no such file: " + argv[0])

    with pytest.raises(OSError):
        task("zorne_admin", dict(new_password="x"), missing, temporary=str(tmp_path))
    assert os.listdir(str(tmp_path)) == []


def test_zornectl_missing(tmp_path):
    missing = str(tmp_path / "zornectl")
    result = run_task("zorne_http", dict(server=SERVER, zornectl_path=missing), False, False,
                      runner=run_here)
    assert result["failed"] and result["msg"].startswith("cannot run " + missing)
    result = run_task("zorne_http", dict(server=SERVER, zornectl_path="zornectl"), False, False,
                      which=lambda path: None)
    assert result["failed"] and "no zornectl found in PATH" in result["msg"]


# exit status, stdout, stderr, diff mode: failed, changed, the message's start, the diff
OUTCOMES = [
    (0, DONE, "", False, False, True, None, None),
    (0, DONE, "", True, False, True, None, "-a=********\n+a=********\n"),
    (0, UNCHANGED, "", True, False, False, None, None),
    (1, DONE, "", False, True, True, "zornectl ended with exit status 1", None),
    (1, FAILED, "", False, True, False, "the server cannot be reached", None),
    (0, FAILED, "", False, True, False, "the server cannot be reached", None),
    (2, "", "--http-port: Value x not in range\nRun with --help for more information.\n", False,
     True, False, "--http-port: Value x not in range", None),
    (0, "stored\n", "", False, True, False, "zornectl gave no outcome", None),
    (0, "[1]\n", "", False, True, False, "zornectl gave no outcome", None),
]


@pytest.mark.parametrize("rc, out, err, diff, failed, changed, message, prepared", OUTCOMES,
                         ids=["changed", "diff", "unchanged", "done-exit-1", "failed-exit-1",
                              "failed-exit-0", "usage", "not-json", "not-an-object"])
def test_outcome(rc, out, err, diff, failed, changed, message, prepared):
    result = task("zorne_http", dict(http_port=8080), Zornectl(rc, out, err), diff=diff)
    assert bool(result.get("failed")) == failed
    assert result["changed"] == changed
    assert (message is None) == ("msg" not in result)
    if message:
        assert result["msg"].startswith(message)
        assert result["rc"] == rc
    assert result.get("diff") == (dict(prepared=prepared) if prepared else None)


# module, options: refused before zornectl runs, with a message naming no secret
REFUSED = [
    ("zorne_http", dict(http_port="eighty", zorne_password="zorne-pw"), "http_port"),
    ("zorne_http", dict(colour="red", zorne_password="zorne-pw"), "Unsupported parameters"),
    ("zorne_admin", dict(new_password="zorne-pw", new_password_file="/f"), "mutually exclusive"),
    ("zorne_admin", dict(zorne_password="zorne-pw"), "one of the following"),
    ("zorne_dual_ip", dict(state="absent", address="192.0.2.9"), "address and mask"),
    ("zorne_dual_ip", dict(zorne_password="zorne-pw"), "state is present"),
    ("zorne_snmp", dict(version="2c", get_community="zorne-pw"), "value of version"),
]


@pytest.mark.parametrize("name, args, message", REFUSED)
def test_refused(name, args, message):
    zornectl = Zornectl()
    result = task(name, args, zornectl)
    assert result["failed"] and message in result["msg"]
    assert "zorne-pw" not in json.dumps(result)
    assert zornectl.runs == []


def test_info_pages_under_the_modules_names():
    shown = dict(server=SERVER, outcome="done", changed=False, message="read", status=0, pages={
        "accounting": dict(values={"system": "standard", "type": "general", "account-id": "1"}, notes=[]),
        "dual-ip": dict(values={"state": "absent", "portfilters-enabled": None}, notes=["n"]),
        "snmp": dict(values={"get-community": True}, notes=[]),
    }, attachment=dict(mode=None))
    result = task("zorne_info", dict(), Zornectl(out=json.dumps(shown)))
    assert result["pages"] == dict(
        accounting=dict(system="standard", account_type="general", account_id="1"),
        dual_ip=dict(state="absent", portfilters_enabled=None),
        snmp=dict(get_community=True))
    assert result["notes"] == dict(accounting=[], dual_ip=["n"], snmp=[])
    assert result["attachment"] == dict(mode=None) and result["changed"] is False
    assert "_ansible_no_log" not in result
    assert task("zorne_info", dict(reveal=True), Zornectl(out=json.dumps(shown)))["_ansible_no_log"]


# exit status, stdout: failed, the servers
DISCOVERY = [
    (0, '{"address": "192.0.2.7", "name": "zorne1"}\n{"address": "192.0.2.8", "name": "zorne2"}\n',
     False, [dict(address="192.0.2.7", name="zorne1"), dict(address="192.0.2.8", name="zorne2")]),
    (0, "", False, []),
    (1, "", True, None),
    (0, "192.0.2.7\n", True, None),
]


@pytest.mark.parametrize("rc, out, failed, servers", DISCOVERY)
def test_discovery(rc, out, failed, servers):
    zornectl = Zornectl(rc, out, "")
    result = task("zorne_discovery_info", dict(targets=["127.0.0.9", "127.0.0.10:9700"], port=9700),
                  zornectl)
    assert zornectl.runs[-1]["environment"] == dict(VIREO_DISCOVERY_TARGETS="127.0.0.9,127.0.0.10:9700",
                                                    VIREO_PORT="9700")
    assert bool(result.get("failed")) == failed
    assert result.get("servers") == servers
