# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# One zornectl run for one server, shared by the action plugins (on the controller) and the
# modules (wherever Ansible runs them): each module's options, the argv and environment that
# carry them (secrets in owner-only files or the environment, never as values on the command
# line), and zornectl's JSON line and exit status turned into the task's result.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os
import shutil
import tempfile

from ansible.module_utils.common.parameters import env_fallback

# How every module reaches its server.
CONNECTION_OPTIONS = dict(
    server=dict(type="str", required=True),
    zorne_password=dict(type="str", no_log=True, fallback=(env_fallback, ["ZORNE_PASSWORD"])),
    zorne_password_file=dict(type="path", no_log=False),  # a file name, not a secret
    port=dict(type="int"),
    deadline=dict(type="int", default=120),
    known_servers=dict(type="path"),
    zornectl_path=dict(type="path", default="zornectl"),
)

# What the modules that store something add.
CHANGE_OPTIONS = dict(
    reboot=dict(type="bool", default=False),
    backup_dir=dict(type="path"),
)

PASSWORD_EXCLUSIVE = [("zorne_password", "zorne_password_file")]


def _secrets(*names):
    """For each secret NAME, the options NAME (no_log) and NAME_file, which exclude each other."""
    options = {}
    for name in names:
        options[name] = dict(type="str", no_log=True)
        options[name + "_file"] = dict(type="path", no_log=False)
    return options


def _dual_ip_arguments(params):
    if params["state"] == "absent":
        if params["address"] is not None or params["mask"] is not None:
            raise ZornectlError("address and mask are for state=present only")
        return ["--delete"]
    return value_arguments(params, (("address", "--address"), ("mask", "--mask")))


class Page(object):
    """A page module: its zornectl command, its own options and how they become arguments."""

    def __init__(self, command, options, values=(), secrets=(), arguments=None, **constraints):
        self.command = command
        self.options = options
        self.values = values  # (option, zornectl flag) for plain values
        self.secrets = secrets  # (option, zornectl flag taking a file) for secrets
        self.arguments = arguments  # params -> arguments, instead of values
        self.constraints = constraints

    def spec(self):
        """The keyword arguments of AnsibleModule (and of the argument validator)."""
        argument_spec = dict(CONNECTION_OPTIONS)
        argument_spec.update(CHANGE_OPTIONS)
        argument_spec.update(self.options)
        constraints = dict(self.constraints)
        exclusive = [(name, name + "_file") for name, flag in self.secrets]
        constraints["mutually_exclusive"] = PASSWORD_EXCLUSIVE + exclusive
        return dict(argument_spec=argument_spec, **constraints)


PAGES = dict(
    zorne_admin=Page(
        "admin", _secrets("new_password"),
        secrets=(("new_password", "--new-password-file"),),
        required_one_of=[("new_password", "new_password_file")]),
    zorne_accounting=Page(
        "accounting",
        dict(system=dict(type="str", choices=["none", "standard", "network"], default="none"),
             account_type=dict(type="str", choices=["default", "general", "group"], default="default"),
             account_id=dict(type="str"),
             user_id=dict(type="str")),
        values=(("system", "--system"), ("account_type", "--type"), ("account_id", "--account-id"),
                ("user_id", "--user-id"))),
    zorne_tallyon=Page(
        "tallyon", dict(user_id=dict(type="str"), **_secrets("passcode")),
        values=(("user_id", "--user-id"),),
        secrets=(("passcode", "--passcode-file"),)),
    zorne_ftp=Page(
        "ftp",
        dict(host=dict(type="str", required=True), user=dict(type="str", required=True),
             destination=dict(type="str"), **_secrets("ftp_password")),
        values=(("host", "--host"), ("user", "--user"), ("destination", "--destination")),
        secrets=(("ftp_password", "--ftp-password-file"),)),
    zorne_http=Page(
        "http", dict(http_port=dict(type="int"), https_port=dict(type="int")),
        values=(("http_port", "--http-port"), ("https_port", "--https-port"))),
    zorne_snmp=Page(
        "snmp",
        dict(version=dict(type="str", choices=["1", "3"], default="1"),
             **_secrets("get_community", "set_community", "auth_password", "priv_password")),
        values=(("version", "--version"),),
        secrets=(("get_community", "--get-community-file"), ("set_community", "--set-community-file"),
                 ("auth_password", "--auth-password-file"), ("priv_password", "--priv-password-file"))),
    zorne_dual_ip=Page(
        "dual-ip",
        dict(state=dict(type="str", choices=["present", "absent"], default="present"),
             address=dict(type="str"),
             mask=dict(type="str")),
        arguments=_dual_ip_arguments,
        required_if=[("state", "present", ("address",))]),
)

INFO_SPEC = dict(
    argument_spec=dict(CONNECTION_OPTIONS, reveal=dict(type="bool", default=False)),
    mutually_exclusive=PASSWORD_EXCLUSIVE,
)

DISCOVERY_SPEC = dict(argument_spec=dict(
    targets=dict(type="list", elements="str"),
    port=dict(type="int"),
    zornectl_path=dict(type="path", default="zornectl"),
))

# zornectl show's page names and option names, as the modules spell them.
_SHOWN_PAGES = {"dual-ip": "dual_ip"}
_SHOWN_OPTIONS = {("accounting", "type"): "account_type"}


class ZornectlError(Exception):
    """A task that cannot run; its message names no secret."""


def value_arguments(params, flags):
    """--FLAG=VALUE for each option that has a value, in one word so that a value starting with a
    dash stays a value."""
    return ["%s=%s" % (flag, params[name]) for name, flag in flags if params.get(name) is not None]


class SecretFiles(object):
    """Owner-only files in an owner-only folder, removed with everything in it on leaving."""

    def __init__(self, parent=None):
        self.parent = parent
        self.folder = None

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        if self.folder is not None:
            shutil.rmtree(self.folder, ignore_errors=True)
            self.folder = None

    def write(self, value):
        if self.folder is None:
            self.folder = tempfile.mkdtemp(prefix="zorne-", dir=self.parent)  # mode 0700
        descriptor, path = tempfile.mkstemp(dir=self.folder)  # mode 0600
        with os.fdopen(descriptor, "w") as secret:
            secret.write(value)
        return path


def connection(params):
    """The arguments and environment that reach the server: the password as a file or in the
    environment, the known-servers file and the default port."""
    arguments = ["--deadline=%d" % params["deadline"]]
    environment = {}
    if params.get("zorne_password_file"):
        arguments.append("--zorne-password-file=" + params["zorne_password_file"])
    elif params.get("zorne_password") is not None:
        environment["ZORNE_PASSWORD"] = params["zorne_password"]
    if params.get("known_servers"):
        environment["VIREO_KNOWN_SERVERS"] = params["known_servers"]
    if params.get("port") is not None:
        environment["VIREO_PORT"] = str(params["port"])
    return arguments, environment


def page_command(name, params, check_mode, secrets):
    """zornectl's argv (without the program) and environment for the module NAME."""
    page = PAGES[name]
    if page.arguments:
        arguments = page.arguments(params)
    else:
        arguments = value_arguments(params, page.values)
    for option, flag in page.secrets:
        if params.get(option + "_file"):
            arguments.append(flag + "=" + params[option + "_file"])
        elif params.get(option) is not None:
            arguments.append(flag + "=" + secrets.write(params[option]))
    reaching, environment = connection(params)
    arguments = [page.command] + arguments + ["--json"] + reaching
    if check_mode:
        arguments.append("--dry-run")
    elif params["reboot"]:
        arguments.append("--reboot=yes")
    if params.get("backup_dir"):
        arguments.append("--backup=" + params["backup_dir"])
    return arguments + ["--", params["server"]], environment


def info_command(params):
    reaching, environment = connection(params)
    arguments = ["show", "--json"] + reaching
    if params["reveal"]:
        arguments.append("--reveal")
    return arguments + ["--", params["server"]], environment


def discovery_command(params):
    environment = {}
    if params.get("targets"):
        environment["VIREO_DISCOVERY_TARGETS"] = ",".join(params["targets"])
    if params.get("port") is not None:
        environment["VIREO_PORT"] = str(params["port"])
    return ["discover", "--json"], environment


def _last_object(out):
    lines = [line for line in out.splitlines() if line.strip()]
    if not lines:
        return None
    try:
        outcome = json.loads(lines[-1])
    except ValueError:
        return None
    return outcome if isinstance(outcome, dict) else None


def _failure(rc, err, what):
    return dict(failed=True, changed=False, msg=err.strip() or what, rc=rc)


def outcome_result(rc, out, err, diff):
    """The task's result from one server's JSON line and zornectl's exit status: it failed when
    either says so."""
    outcome = _last_object(out)
    if outcome is None:
        return _failure(rc, err, "zornectl gave no outcome (exit status %d)" % rc)
    result = dict(
        changed=bool(outcome.get("changed")),
        server=outcome.get("server"),
        message=outcome.get("message"),
        status=outcome.get("status"),
    )
    if diff and outcome.get("diff"):
        result["diff"] = dict(prepared=outcome["diff"])
    if outcome.get("outcome") != "done":
        result.update(failed=True, msg=outcome.get("message") or "zornectl failed", rc=rc)
    elif rc != 0:
        result.update(failed=True, rc=rc,
                      msg="zornectl ended with exit status %d although it reported done" % rc)
    return result


def shown_pages(pages):
    """zornectl show's pages with the modules' names (dual_ip, account_type, http_port, ...): the
    values of each page's options, and each page's notes."""
    values = {}
    notes = {}
    for page, reading in pages.items():
        name = _SHOWN_PAGES.get(page, page)
        values[name] = dict((_SHOWN_OPTIONS.get((page, option), option.replace("-", "_")), value)
                            for option, value in reading.get("values", {}).items())
        notes[name] = reading.get("notes", [])
    return values, notes


def info_result(rc, out, err):
    """zorne_info's result: the server's pages and its printer attachment."""
    result = outcome_result(rc, out, err, False)
    if result.get("failed"):
        return result
    outcome = _last_object(out)
    pages, notes = shown_pages(outcome.get("pages") or {})
    result.update(changed=False, pages=pages, notes=notes, attachment=outcome.get("attachment") or {})
    return result


def discovery_result(rc, out, err):
    """zorne_discovery_info's result: one entry per server that answered."""
    if rc != 0:
        return _failure(rc, err, "zornectl discover failed (exit status %d)" % rc)
    try:
        servers = [json.loads(line) for line in out.splitlines() if line.strip()]
    except ValueError:
        return dict(failed=True, changed=False, msg="zornectl discover gave lines that are not JSON")
    return dict(changed=False, servers=servers)


def program(path, which):
    """The zornectl to run: PATH itself when it names a folder, else the one WHICH finds."""
    if os.sep in path:
        return path
    found = which(path)
    if not found:
        raise ZornectlError("zornectl_path: no %s found in PATH" % path)
    return found


def run(name, params, check_mode, diff, runner, which, temporary=None):
    """Runs the module NAME with its validated PARAMS: RUNNER(argv, environment) gives zornectl's
    (exit status, stdout, stderr); WHICH finds a program. The result is the task's."""
    try:
        zornectl = program(params["zornectl_path"], which)
        if name == "zorne_discovery_info":
            arguments, environment = discovery_command(params)
            return discovery_result(*runner([zornectl] + arguments, environment))
        if name == "zorne_info":
            arguments, environment = info_command(params)
            return info_result(*runner([zornectl] + arguments, environment))
        with SecretFiles(temporary) as secrets:
            arguments, environment = page_command(name, params, check_mode, secrets)
            return outcome_result(*(runner([zornectl] + arguments, environment) + (diff,)))
    except ZornectlError as error:
        return dict(failed=True, changed=False, msg=str(error))


def spec(name):
    """The module NAME's argument spec and constraints."""
    if name == "zorne_info":
        return INFO_SPEC
    if name == "zorne_discovery_info":
        return DISCOVERY_SPEC
    return PAGES[name].spec()


def run_module(module, name):
    """Ends the module NAME where Ansible ran it (its action plugin runs it on the controller)."""

    def runner(argv, environment):
        return module.run_command(argv, environ_update=environment)

    result = run(name, module.params, module.check_mode, module._diff, runner, module.get_bin_path)
    if name == "zorne_info" and module.params["reveal"]:
        result["_ansible_no_log"] = True
    if result.pop("failed", False):
        module.fail_json(**result)
    module.exit_json(**result)
