#!/usr/bin/python
# -*- coding: utf-8 -*-
# The Zorne servers a search finds, as facts, through zornectl discover.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_facts
short_description: Find Zorne servers on the network
version_added: 1.7.0
description:
  - Runs C(zornectl discover --json) on the managed host and returns the servers that answered
    as the fact C(zorne_servers), a list of C(address), C(name), C(model) and C(series).
  - Changes nothing anywhere.
  - Without I(targets) the search is a broadcast on the managed host's networks.
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
      - The zornectl program to run.
    type: path
    default: zornectl
author:
  - Azu Quorvane Config developers
"""

EXAMPLES = r"""
- name: Find the print controllers on this site
  azu.zorne.zorne_facts:

- name: Configure each one found
  azu.zorne.zorne_http:
    server: "{{ item.address }}"
    zorne_password: "{{ vault_zorne_password }}"
    http_port: 8080
  loop: "{{ zorne_servers }}"
"""

RETURN = r"""
ansible_facts:
  description: The servers found.
  returned: always
  type: dict
  contains:
    zorne_servers:
      description: One entry per server that answered, in the order they answered.
      type: list
      elements: dict
      sample: [{"address": "192.0.2.7", "name": "zorne1", "model": "QV5010", "series": "QV5000"}]
"""

import json
import os

from ansible.module_utils.basic import AnsibleModule


def main():
    module = AnsibleModule(
        argument_spec=dict(
            targets=dict(type="list", elements="str"),
            port=dict(type="int"),
            zornectl_path=dict(type="path", default="zornectl"),
        ),
        supports_check_mode=True,
    )
    params = module.params
    program = params["zornectl_path"]
    if os.sep not in program:
        program = module.get_bin_path(program, required=True)
    environment = {}
    if params["targets"]:
        environment["VIREO_DISCOVERY_TARGETS"] = ",".join(params["targets"])
    if params["port"] is not None:
        environment["VIREO_PORT"] = str(params["port"])
    command = [program, "discover", "--json"]
    rc, out, err = module.run_command(command, environ_update=environment)
    if rc != 0:
        module.fail_json(msg=err.strip() or "zornectl discover failed", rc=rc, cmd=command)
    try:
        servers = [json.loads(line) for line in out.splitlines() if line.strip()]
    except ValueError:
        module.fail_json(msg="zornectl discover gave lines that are not JSON", stdout=out)
    module.exit_json(changed=False, ansible_facts=dict(zorne_servers=servers))


if __name__ == "__main__":
    main()
