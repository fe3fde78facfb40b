#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The print-accounting page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_accounting
short_description: Set a Zorne server's print accounting
version_added: 1.7.0
description:
  - Rewrites the accounting keys of the server's main configuration file.
  - Stores nothing when the server already holds the same file.
extends_documentation_fragment:
  - azu.zorne.zornectl
  - azu.zorne.zornectl.changes
  - azu.zorne.zornectl.attributes
options:
  system:
    description:
      - The accounting system.
    type: str
    choices: [none, standard, network]
    default: none
  account_type:
    description:
      - The account type.
    type: str
    choices: [default, general, group]
    default: default
  account_id:
    description:
      - The account ID; standard accounting takes numeric IDs only.
    type: str
  user_id:
    description:
      - The user ID.
    type: str
author:
  - Azu Quorvane Config developers (@azuqvc)
"""

EXAMPLES = r"""
- name: Standard accounting with a general account
  azu.zorne.zorne_accounting:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    system: standard
    account_type: general
    account_id: "1200"

- name: No accounting, the server rebooted when that changed something
  azu.zorne.zorne_accounting:
    server: "{{ zorne_server }}"
    zorne_password_file: /etc/zorne/admin-password
    system: none
    reboot: true
"""

RETURN = r"""
server:
  description: The server, as zornectl names it.
  returned: when zornectl ran
  type: str
  sample: 192.0.2.7
message:
  description: What zornectl did, or the page's message when it failed.
  returned: when zornectl ran
  type: str
  sample: stored
status:
  description: The server-access library's last failing status; 0 when none.
  returned: when zornectl ran
  type: int
  sample: 0
rc:
  description: zornectl's exit status.
  returned: failure
  type: int
  sample: 1
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.azu.zorne.plugins.module_utils.zornectl import run_module, spec


def main():
    module = AnsibleModule(supports_check_mode=True, **spec("zorne_accounting"))
    run_module(module, "zorne_accounting")


if __name__ == "__main__":
    main()
