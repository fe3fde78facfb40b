# -*- coding: utf-8 -*-
# Running one zornectl page command for one server from a module: the secrets handed over in
# owner-only files or the environment (never on the command line), check mode as zornectl's dry
# run, and zornectl's JSON outcome as the module's result.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os
import shutil
import tempfile

from ansible.module_utils.basic import env_fallback

COMMON_ARGUMENT_SPEC = dict(
    server=dict(type="str", required=True),
    zorne_password=dict(type="str", no_log=True, fallback=(env_fallback, ["ZORNE_PASSWORD"])),
    zorne_password_file=dict(type="path", no_log=False),
    reboot=dict(type="bool", default=False),
    backup_dir=dict(type="path"),
    deadline=dict(type="int", default=120),
    known_servers=dict(type="path"),
    zornectl_path=dict(type="path", default="zornectl"),
)

COMMON_MUTUALLY_EXCLUSIVE = [("zorne_password", "zorne_password_file")]


def argument_spec(page_options):
    """The common options and the page's own."""
    spec = dict(COMMON_ARGUMENT_SPEC)
    spec.update(page_options)
    return spec


def secret_options(*names):
    """For each secret NAME, the options NAME (no_log) and NAME_file, which exclude each other."""
    options = {}
    for name in names:
        options[name] = dict(type="str", no_log=True)
        options[name + "_file"] = dict(type="path", no_log=False)  # a file name, not a secret
    return options, [(name, name + "_file") for name in names]


def value_arguments(params, names):
    """zornectl's --NAME=VALUE for each option that has a value (in one word, so that a value
    starting with a dash stays a value)."""
    return ["--%s=%s" % (name.replace("_", "-"), params[name]) for name in names if params[name] is not None]


class Zornectl(object):
    """One zornectl run for the module's server."""

    def __init__(self, module):
        self.module = module
        self.folder = None

    def secret_argument(self, option, name):
        """zornectl's OPTION FILE for the secret NAME: its file, or its value in an owner-only file."""
        params = self.module.params
        if params.get(name + "_file"):
            return [option + "=" + params[name + "_file"]]
        if params.get(name) is None:
            return []
        if self.folder is None:
            self.folder = tempfile.mkdtemp(prefix="zorne-")  # mode 0700
        descriptor, path = tempfile.mkstemp(dir=self.folder)  # mode 0600
        with os.fdopen(descriptor, "w") as secret:
            secret.write(params[name])
        return [option + "=" + path]

    def program(self):
        path = self.module.params["zornectl_path"]
        if os.sep in path:
            return path
        return self.module.get_bin_path(path, required=True)

    def run(self, page, arguments):
        """Runs the page for the server and ends the module with zornectl's outcome."""
        try:
            self._run(page, arguments)
        finally:
            if self.folder is not None:
                shutil.rmtree(self.folder, ignore_errors=True)

    def _run(self, page, arguments):
        module = self.module
        params = module.params
        command = [self.program(), page] + arguments + ["--json", "--deadline", str(params["deadline"])]
        if module.check_mode:
            command.append("--dry-run")
        elif params["reboot"]:
            command += ["--reboot", "yes"]
        if params["backup_dir"]:
            command.append("--backup=" + params["backup_dir"])
        environment = {}
        if params["zorne_password_file"]:
            command.append("--zorne-password-file=" + params["zorne_password_file"])
        elif params["zorne_password"] is not None:
            environment["ZORNE_PASSWORD"] = params["zorne_password"]
        if params["known_servers"]:
            environment["VIREO_KNOWN_SERVERS"] = params["known_servers"]
        command += ["--", params["server"]]

        rc, out, err = module.run_command(command, environ_update=environment)
        line = out.strip().splitlines()[-1] if out.strip() else ""
        try:
            outcome = json.loads(line)
        except ValueError:
            module.fail_json(msg=err.strip() or "zornectl gave no outcome", rc=rc, cmd=command)

        result = dict(
            changed=bool(outcome.get("changed")),
            server=outcome.get("server"),
            message=outcome.get("message"),
            status=outcome.get("status"),
        )
        if module._diff and outcome.get("diff"):
            result["diff"] = dict(prepared=outcome["diff"])
        if outcome.get("outcome") != "done":
            module.fail_json(msg=outcome.get("message") or "zornectl failed", rc=rc, **result)
        module.exit_json(**result)
