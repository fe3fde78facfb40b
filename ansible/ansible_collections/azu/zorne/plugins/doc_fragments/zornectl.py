# -*- coding: utf-8 -*-
# The options every page module shares: which server, its password, and how zornectl runs.

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r"""
options:
  server:
    description:
      - The Zorne server, as a name, an address or C(address:port) (default port 9631).
    type: str
    required: true
  zorne_password:
    description:
      - The server's administrator password.
      - Handed to zornectl in its environment, never on its command line.
      - Defaults to the environment variable C(ZORNE_PASSWORD) of the managed host.
    type: str
  zorne_password_file:
    description:
      - A file on the managed host holding the administrator password, readable by its owner only.
    type: path
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
      - The zornectl program to run.
    type: path
    default: zornectl
notes:
  - "Runs C(zornectl) on the managed host, usually the controller with C(connection: local)."
  - zornectl changes only what differs, so a second run with the same values reports no change and
    reboots nothing.
  - In check mode zornectl fetches and compares but stores nothing. With C(--diff) the module
    shows zornectl's unified diff, with the values of password, passcode and community keys masked.
requirements:
  - zornectl (Azu Quorvane Config 1.7 or later)
"""
