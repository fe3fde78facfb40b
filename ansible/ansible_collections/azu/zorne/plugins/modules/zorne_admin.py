#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The administrator-password page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_admin
short_description: Set a Zorne server's administrator password
version_added: 1.7.0
description:
  - Replaces the server's administrator file whole; its diff is masked line by line.
  - Stores nothing when the server already holds the same file.
  - Later tasks must log in with the new password.
extends_documentation_fragment:
  - azu.zorne.zornectl
  - azu.zorne.zornectl.changes
  - azu.zorne.zornectl.attributes
options:
  new_password:
    description:
      - The new administrator password.
    type: str
  new_password_file:
    description:
      - A file holding the new password, readable by its owner only.
    type: path
author:
  - Azu Quorvane Config developers (@azuqvc)
"""

EXAMPLES = r"""
- name: A new administrator password
  azu.zorne.zorne_admin:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_old_zorne_password }}"
    new_password: "{{ vault_zorne_password }}"

- name: The new password from a file, the old one's file kept as a backup
  azu.zorne.zorne_admin:
    server: "{{ zorne_server }}"
    zorne_password_file: /etc/zorne/old-admin-password
    new_password_file: /etc/zorne/admin-password
    backup_dir: /var/backups/zorne
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
    module = AnsibleModule(supports_check_mode=True, **spec("zorne_admin"))
    run_module(module, "zorne_admin")


if __name__ == "__main__":
    main()
