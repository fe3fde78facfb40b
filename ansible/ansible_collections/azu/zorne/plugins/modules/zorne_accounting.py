#!/usr/bin/python
# -*- coding: utf-8 -*-
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
extends_documentation_fragment: azu.zorne.zornectl
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
  - Azu Quorvane Config developers
"""

EXAMPLES = r"""
- name: Standard accounting with a general account
  azu.zorne.zorne_accounting:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    system: standard
    account_type: general
    account_id: "1200"
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
    value_arguments,
)


def main():
    module = AnsibleModule(
        argument_spec=argument_spec(dict(
            system=dict(type="str", choices=["none", "standard", "network"], default="none"),
            account_type=dict(type="str", choices=["default", "general", "group"], default="default"),
            account_id=dict(type="str"),
            user_id=dict(type="str"),
        )),
        mutually_exclusive=COMMON_MUTUALLY_EXCLUSIVE,
        supports_check_mode=True,
    )
    params = module.params
    arguments = value_arguments(params, ("system", "account_id", "user_id"))
    arguments.append("--type=" + params["account_type"])
    Zornectl(module).run("accounting", arguments)


if __name__ == "__main__":
    main()
