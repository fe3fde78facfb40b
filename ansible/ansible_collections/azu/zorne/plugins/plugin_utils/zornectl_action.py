# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The action plugins' shared base: each task runs zornectl in the controller's worker, so no
# Python is packed, sent or started for a host. A Zorne server is an appliance reached from the
# controller; the host only names it.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import os
import shutil
import subprocess

from ansible import constants as C
from ansible.module_utils.common.arg_spec import ArgumentSpecValidator
from ansible.module_utils.errors import UnsupportedError
from ansible.module_utils.common.parameters import remove_values
from ansible.plugins.action import ActionBase

from ansible_collections.azu.zorne.plugins.module_utils import zornectl


def run_here(argv, environment):
    """Runs zornectl on the controller: no terminal (so it never prompts), nothing on stdin."""
    try:
        process = subprocess.run(argv, env=dict(os.environ, **environment), stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                 start_new_session=True, check=False)
    except OSError as error:
        return 127, "", "cannot run %s: %s" % (argv[0], error.strerror)
    return (process.returncode, process.stdout.decode("utf-8", "replace"),
            process.stderr.decode("utf-8", "replace"))


def run_task(name, args, check_mode, diff, runner=run_here, which=shutil.which, temporary=None):
    """The result of the module NAME's task with ARGS: checked against the module's own spec, run,
    and cleared of every no_log value, in messages too."""
    validation = ArgumentSpecValidator(**zornectl.spec(name)).validate(args)
    if validation.error_messages:
        message = validation.errors.msg
        if isinstance(validation.errors[0], UnsupportedError):
            message = "Unsupported parameters for (%s) module: %s" % (name, message)
        result = dict(failed=True, changed=False, msg=message)
    else:
        result = zornectl.run(name, validation.validated_parameters, check_mode, diff, runner,
                              which, temporary)
        if name == "zorne_info" and validation.validated_parameters["reveal"]:
            # asked for: the secrets themselves, the whole result kept out of the output
            result["_ansible_no_log"] = True
            return result
    return remove_values(result, validation._no_log_values)


class ZornectlAction(ActionBase):
    """The task of the module `module` in the controller's worker."""

    TRANSFERS_FILES = False
    module = None

    def run(self, tmp=None, task_vars=None):
        result = super(ZornectlAction, self).run(tmp, task_vars)
        result.update(run_task(self.module, self._task.args, self._task.check_mode,
                               self._task.diff, temporary=C.DEFAULT_LOCAL_TMP))
        if self._task.action.rpartition(".")[2] == "zorne_facts" and "servers" in result:
            # the deprecated name keeps its fact until it is removed
            result["ansible_facts"] = dict(zorne_servers=result["servers"])
        return result
