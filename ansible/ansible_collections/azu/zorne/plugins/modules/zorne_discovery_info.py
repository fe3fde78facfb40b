#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The Zorne servers a search finds, through zornectl discover.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_discovery_info
short_description: Find Zorne servers on the network
version_added: 1.8.0
description:
  - Runs C(zornectl discover) and returns the servers that answered.
  - Changes nothing anywhere.
  - Without I(targets) the search is a broadcast on the controller's networks.
  - Replaces C(azu.zorne.zorne_facts), which returned the same list as the fact C(zorne_servers).
extends_documentation_fragment:
  - azu.zorne.zornectl.attributes
options:
  targets:
    description:
      - The addresses to ask instead of the broadcast (C(VIREO_DISCOVERY_TARGETS)), each C(host) or
        C(host:port).
    type: list
    elements: str
  port:
    description:
      - The port the servers listen on (C(VIREO_PORT)); default 9631.
    type: int
  zornectl_path:
    description:
      - The zornectl program to run, by its path or its name in C(PATH).
    type: path
    default: zornectl
attributes:
  diff_mode:
    support: none
  action_group:
    support: none
    membership: []
    details: Not in C(azu.zorne.zorne), whose server and password options it does not take.
notes:
  - The task runs C(zornectl) on the controller, in Ansible's own worker.
requirements:
  - zornectl (Azu Quorvane Config 1.7 or later)
author:
  - Azu Quorvane Config developers (@azuqvc)
"""

EXAMPLES = r"""
- name: Find the print controllers on this site
  azu.zorne.zorne_discovery_info:
  register: found

- name: Ask two subnets' broadcast addresses only
  azu.zorne.zorne_discovery_info:
    targets:
      - 192.0.2.255
      - 198.51.100.255
  register: found

- name: Configure each one found
  azu.zorne.zorne_http:
    server: "{{ item.address }}"
    zorne_password: "{{ vault_zorne_password }}"
    http_port: 8080
  loop: "{{ found.servers }}"
"""

RETURN = r"""
servers:
  description: One entry per server that answered, in the order they answered.
  returned: success
  type: list
  elements: dict
  contains:
    address:
      description: The server's address.
      type: str
      sample: 192.0.2.7
    name:
      description: The server's name.
      type: str
      sample: zorne1
    model:
      description: The copier's model code.
      type: str
      sample: QV5010
    series:
      description: The copier's series, C(unknown) when the model is not known.
      type: str
      sample: QV5000
rc:
  description: zornectl's exit status.
  returned: failure
  type: int
  sample: 1
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.azu.zorne.plugins.module_utils.zornectl import run_module, spec


def main():
    module = AnsibleModule(supports_check_mode=True, **spec("zorne_discovery_info"))
    run_module(module, "zorne_discovery_info")


if __name__ == "__main__":
    main()
