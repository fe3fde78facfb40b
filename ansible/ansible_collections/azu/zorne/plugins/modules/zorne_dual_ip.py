#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The Dual IP page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_dual_ip
short_description: Add or delete a Zorne server's second address
version_added: 1.7.0
description:
  - With I(state=present), stores the second address and mask in the server's main configuration
    file, puts the port-filter rules file and sets the attribute C(portfilters_enabled) to C(yes).
  - With I(state=absent), removes the two keys and deletes the rules file.
  - Changes only what differs; files the server already holds, a rules file it no longer has
    and an attribute that already has its value are left alone.
extends_documentation_fragment:
  - azu.zorne.zornectl
  - azu.zorne.zornectl.changes
  - azu.zorne.zornectl.attributes
options:
  state:
    description:
      - Whether the second address is there.
    type: str
    choices: [present, absent]
    default: present
  address:
    description:
      - The second address; required with I(state=present).
    type: str
  mask:
    description:
      - Its subnet mask (default 255.255.255.255); with I(state=present) only.
    type: str
author:
  - Azu Quorvane Config developers (@azuqvc)
"""

EXAMPLES = r"""
- name: A second address on the site network
  azu.zorne.zorne_dual_ip:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    address: 100.64.1.20
    mask: 255.255.255.0
    reboot: true

- name: No second address
  azu.zorne.zorne_dual_ip:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    state: absent
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
    module = AnsibleModule(supports_check_mode=True, **spec("zorne_dual_ip"))
    run_module(module, "zorne_dual_ip")


if __name__ == "__main__":
    main()
