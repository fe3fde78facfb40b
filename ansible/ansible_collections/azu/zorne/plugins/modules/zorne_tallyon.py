#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The job-audit page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_tallyon
short_description: Set a Zorne server's job-audit credentials
version_added: 1.7.0
description:
  - Rewrites the job-audit keys of the server's main configuration file.
  - Stores nothing when the server already holds the same file.
extends_documentation_fragment:
  - azu.zorne.zornectl
  - azu.zorne.zornectl.changes
  - azu.zorne.zornectl.attributes
options:
  user_id:
    description:
      - The user ID.
    type: str
  passcode:
    description:
      - The passcode.
    type: str
  passcode_file:
    description:
      - A file holding the passcode, readable by its owner only.
    type: path
author:
  - Azu Quorvane Config developers (@azuqvc)
"""

EXAMPLES = r"""
- name: Job-audit credentials
  azu.zorne.zorne_tallyon:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    user_id: audit
    passcode: "{{ vault_passcode }}"

- name: The passcode from a file
  azu.zorne.zorne_tallyon:
    server: "{{ zorne_server }}"
    zorne_password_file: /etc/zorne/admin-password
    user_id: audit
    passcode_file: /etc/zorne/passcode
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
    module = AnsibleModule(supports_check_mode=True, **spec("zorne_tallyon"))
    run_module(module, "zorne_tallyon")


if __name__ == "__main__":
    main()
