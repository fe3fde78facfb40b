#!/usr/bin/python
# -*- coding: utf-8 -*-
# The Dual IP page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_dual_ip
short_description: Add or delete a Zorne server's second address
version_added: 1.7.0
description:
  - With I(state=present), stores the second address and mask in the server's main configuration file,
    puts the port-filter rules file and sets the attribute C(portfilters_enabled) to C(yes).
  - With I(state=absent), removes the two keys and deletes the rules file.
  - Changes only what differs; files the server already holds, a rules file it no longer has
    and an attribute that already has its value are left alone.
extends_documentation_fragment: azu.zorne.zornectl
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
      - Its subnet mask (default 255.255.255.255).
    type: str

author:
  - Azu Quorvane Config developers
"""

EXAMPLES = r"""
- name: A second address on the site network
  azu.zorne.zorne_dual_ip:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    address: 100.64.1.20
    mask: 255.255.255.0
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
    value_arguments,
)


def main():
    module = AnsibleModule(
        argument_spec=argument_spec(dict(
            state=dict(type="str", choices=["present", "absent"], default="present"),
            address=dict(type="str"),
            mask=dict(type="str"),
        )),
        mutually_exclusive=COMMON_MUTUALLY_EXCLUSIVE,
        required_if=[("state", "present", ("address",))],
        supports_check_mode=True,
    )
    params = module.params
    if params["state"] == "absent":
        if params["address"] is not None or params["mask"] is not None:
            module.fail_json(msg="address and mask are for state=present only")
        arguments = ["--delete"]
    else:
        arguments = value_arguments(params, ("address", "mask"))
    Zornectl(module).run("dual-ip", arguments)


if __name__ == "__main__":
    main()
