#!/usr/bin/python
# -*- coding: utf-8 -*-
# The HTTP page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_http
short_description: Set a Zorne server's HTTP and HTTPS ports
version_added: 1.7.0
description:
  - Replaces the server's web-port file whole with the two ports.
  - Stores nothing when the server already holds the same file.
extends_documentation_fragment: azu.zorne.zornectl
options:
  http_port:
    description:
      - The HTTP port (default 80).
    type: int
  https_port:
    description:
      - The HTTPS port (default 443); it must differ from the HTTP port.
    type: int

author:
  - Azu Quorvane Config developers
"""

EXAMPLES = r"""
- name: Web ports of the print controllers
  azu.zorne.zorne_http:
    server: "{{ zorne_server }}"
    zorne_password_file: /etc/zorne/admin-password
    http_port: 8080
    https_port: 8443
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
        argument_spec=argument_spec(dict(http_port=dict(type="int"), https_port=dict(type="int"))),
        mutually_exclusive=COMMON_MUTUALLY_EXCLUSIVE,
        supports_check_mode=True,
    )
    Zornectl(module).run("http", value_arguments(module.params, ("http_port", "https_port")))


if __name__ == "__main__":
    main()
