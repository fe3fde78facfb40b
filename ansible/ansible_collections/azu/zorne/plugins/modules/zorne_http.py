#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
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
extends_documentation_fragment:
  - azu.zorne.zornectl
  - azu.zorne.zornectl.changes
  - azu.zorne.zornectl.attributes
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
  - Azu Quorvane Config developers (@azuqvc)
"""

EXAMPLES = r"""
- name: Web ports of the print controllers
  azu.zorne.zorne_http:
    server: "{{ zorne_server }}"
    zorne_password_file: /etc/zorne/admin-password
    http_port: 8080
    https_port: 8443

- name: Back to the default ports, on servers whose Zorne port is 9700
  azu.zorne.zorne_http:
    server: "{{ zorne_server }}"
    zorne_password_file: /etc/zorne/admin-password
    port: 9700
    http_port: 80
    https_port: 443
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
    module = AnsibleModule(supports_check_mode=True, **spec("zorne_http"))
    run_module(module, "zorne_http")


if __name__ == "__main__":
    main()
