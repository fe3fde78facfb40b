#!/usr/bin/python
# -*- coding: utf-8 -*-
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
extends_documentation_fragment: azu.zorne.zornectl
options:
  version:
    description:
      - The SNMP version.
    type: str
    choices: ["1", "3"]
    default: "1"
  get_community:
    description:
      - The read community (version 1).
    type: str
  set_community:
    description:
      - The write community (version 1).
    type: str
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
  - Azu Quorvane Config developers
"""

EXAMPLES = r"""
- name: SNMP version 1 with a site's communities
  azu.zorne.zorne_snmp:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    get_community: public
    set_community: "{{ vault_set_community }}"
    reboot: true
"""

RETURN = r"""
message:
  description: What zornectl did, or the page's message when it failed.
  returned: always
  type: str
  sample: stored
status:
  description: The server-access library's last failing status; 0 when none.
  returned: always
  type: int
  sample: 0
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.azu.zorne.plugins.module_utils.zornectl import (
    COMMON_MUTUALLY_EXCLUSIVE,
    Zornectl,
    argument_spec,
    secret_options,
    value_arguments,
)


def main():
    secrets, exclusive = secret_options("auth_password", "priv_password")
    options = dict(
        version=dict(type="str", choices=["1", "3"], default="1"),
        get_community=dict(type="str"),
        set_community=dict(type="str"),
    )
    options.update(secrets)
    module = AnsibleModule(
        argument_spec=argument_spec(options),
        mutually_exclusive=COMMON_MUTUALLY_EXCLUSIVE + exclusive,
        supports_check_mode=True,
    )
    params = module.params
    zornectl = Zornectl(module)
    arguments = value_arguments(params, ("version", "get_community", "set_community"))
    arguments += zornectl.secret_argument("--auth-password-file", "auth_password")
    arguments += zornectl.secret_argument("--priv-password-file", "priv_password")
    zornectl.run("snmp", arguments)


if __name__ == "__main__":
    main()
