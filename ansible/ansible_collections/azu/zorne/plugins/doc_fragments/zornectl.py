# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# What the modules share: how they reach a server, what the storing ones add, and their attributes.

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r"""
options:
  server:
    description:
      - The Zorne server, as a name, an address or C(address:port).
    type: str
    required: true
  zorne_password:
    description:
      - The server's administrator password.
      - Handed to zornectl in its environment, never on its command line.
      - Defaults to the environment variable C(ZORNE_PASSWORD) where zornectl runs.
    type: str
  zorne_password_file:
    description:
      - A file holding the administrator password, readable by its owner only, where zornectl runs.
    type: path
  port:
    description:
      - The port of a I(server) given without one (C(VIREO_PORT)); default 9631.
    type: int
  deadline:
    description:
      - Seconds the server may take.
    type: int
    default: 120
  known_servers:
    description:
      - The file of pinned server keys zornectl uses (C(VIREO_KNOWN_SERVERS)); default the
        user's own.
    type: path
  zornectl_path:
    description:
      - The zornectl program to run, by its path or its name in C(PATH).
    type: path
    default: zornectl
notes:
  - The task runs C(zornectl) on the controller, in Ansible's own worker; no Python is sent to or
    started on the host, which only names the server. An inventory host per Zorne server needs
    no connection of its own.
  - Every module but M(azu.zorne.zorne_discovery_info) is in the action group C(azu.zorne.zorne),
    so C(module_defaults) with C(group/azu.zorne.zorne) sets shared options once for a play.
requirements:
  - zornectl (Azu Quorvane Config 1.7 or later)
"""

    CHANGES = r"""
options:
  reboot:
    description:
      - Reboot the server when something was changed on it. A server where nothing differed is
        never rebooted.
    type: bool
    default: false
  backup_dir:
    description:
      - Keep the server's previous file as C(backup_dir/SERVER/path) before it is replaced.
    type: path
notes:
  - zornectl changes only what differs, so a second run with the same values reports no change and
    reboots nothing.
  - In check mode zornectl fetches and compares but stores nothing. With C(--diff) the task
    shows zornectl's unified diff, with the values of password, passcode and community keys masked.
"""

    ATTRIBUTES = r"""
attributes:
  check_mode:
    description: Can run in check mode and return the changed status it predicts, changing nothing.
    support: full
  diff_mode:
    description: Returns what it changed, or would change in check mode, as a diff.
    support: full
  platform:
    description: Where the task runs.
    support: full
    platforms: posix
    details: The controller, which reaches the Zorne servers over the network.
  action:
    description: Runs in an action plugin on the controller.
    support: full
  async:
    description: Can run with the C(async) keyword.
    support: none
  action_group:
    description: In an action group, for setting its options once with C(module_defaults).
    support: full
    membership:
      - azu.zorne.zorne
"""
