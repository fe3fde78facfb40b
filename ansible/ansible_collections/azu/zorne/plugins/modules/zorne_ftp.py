#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# The scan-to-FTP page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_ftp
short_description: Set a Zorne server's scan-to-FTP destination
version_added: 1.7.0
description:
  - Replaces the server's scan-to-FTP file whole.
  - Stores nothing when the server already holds the same file.
extends_documentation_fragment:
  - azu.zorne.zornectl
  - azu.zorne.zornectl.changes
  - azu.zorne.zornectl.attributes
options:
  host:
    description:
      - The FTP server.
    type: str
    required: true
  user:
    description:
      - The FTP user name.
    type: str
    required: true
  ftp_password:
    description:
      - The FTP password.
    type: str
  ftp_password_file:
    description:
      - A file holding the FTP password, readable by its owner only.
    type: path
  destination:
    description:
      - The folder on the FTP server.
    type: str
author:
  - Azu Quorvane Config developers (@azuqvc)
"""

EXAMPLES = r"""
- name: Scans go to the site's FTP server
  azu.zorne.zorne_ftp:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    host: ftp.example.org
    user: scans
    ftp_password: "{{ vault_ftp_password }}"
    destination: /incoming

- name: What would change, with its masked diff, storing nothing
  azu.zorne.zorne_ftp:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    host: ftp.example.org
    user: scans
    ftp_password_file: /etc/zorne/ftp-password
  check_mode: true
  diff: true
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
    module = AnsibleModule(supports_check_mode=True, **spec("zorne_ftp"))
    run_module(module, "zorne_ftp")


if __name__ == "__main__":
    main()
