#!/usr/bin/python
# -*- coding: utf-8 -*-
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
extends_documentation_fragment: azu.zorne.zornectl
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
  - Azu Quorvane Config developers
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
    secrets, exclusive = secret_options("ftp_password")
    options = dict(host=dict(type="str", required=True), user=dict(type="str", required=True),
                   destination=dict(type="str"))
    options.update(secrets)
    module = AnsibleModule(
        argument_spec=argument_spec(options),
        mutually_exclusive=COMMON_MUTUALLY_EXCLUSIVE + exclusive,
        supports_check_mode=True,
    )
    zornectl = Zornectl(module)
    arguments = value_arguments(module.params, ("host", "user", "destination"))
    arguments += zornectl.secret_argument("--ftp-password-file", "ftp_password")
    zornectl.run("ftp", arguments)


if __name__ == "__main__":
    main()
