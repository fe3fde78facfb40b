#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The SNMP page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_snmp
short_description: Set a Zorne server's SNMP version and credentials
version_added: 1.7.0
description:
  - Sets the SNMP version of the server's main configuration file and that version's credentials;
    writing one version removes the other version's keys, as the window's SNMP page does.
  - Stores nothing when the server already holds the same file.
extends_documentation_fragment:
  - azu.zorne.zornectl
  - azu.zorne.zornectl.changes
  - azu.zorne.zornectl.attributes
options:
  version:
    description:
      - The SNMP version.
    type: str
    choices: ["1", "3"]
    default: "1"
  get_community:
    description:
      - The read community (version 1), a credential like a password.
      - Kept out of every log and handed to zornectl in an owner-only file.
    type: str
  get_community_file:
    description:
      - A file holding the read community, readable by its owner only.
    type: path
  set_community:
    description:
      - The write community (version 1), a credential like a password.
      - Kept out of every log and handed to zornectl in an owner-only file.
    type: str
  set_community_file:
    description:
      - A file holding the write community, readable by its owner only.
    type: path
  auth_password:
    description:
      - The authentication password (version 3).
    type: str
  auth_password_file:
    description:
      - A file holding the authentication password, readable by its owner only.
    type: path
  priv_password:
    description:
      - The privacy password (version 3).
    type: str
  priv_password_file:
    description:
      - A file holding the privacy password, readable by its owner only.
    type: path
author:
  - Azu Quorvane Config developers (@azuqvc)
"""

EXAMPLES = r"""
- name: SNMP version 1 with a site's communities
  azu.zorne.zorne_snmp:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    get_community: public
    set_community: "{{ vault_set_community }}"
    reboot: true

- name: SNMP version 3, its passwords from files
  azu.zorne.zorne_snmp:
    server: "{{ zorne_server }}"
    zorne_password_file: /etc/zorne/admin-password
    version: "3"
    auth_password_file: /etc/zorne/snmp-auth
    priv_password_file: /etc/zorne/snmp-priv
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
    module = AnsibleModule(supports_check_mode=True, **spec("zorne_snmp"))
    run_module(module, "zorne_snmp")


if __name__ == "__main__":
    main()
