#!/usr/bin/python
# -*- coding: utf-8 -*-
# The administrator-password page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_admin
short_description: Set a Zorne server's administrator password
version_added: 1.7.0
description:
  - Replaces the server's administrator file whole; its diff is masked line by line.
  - Stores nothing when the server already holds the same file.
  - Later tasks must log in with the new password.
extends_documentation_fragment: azu.zorne.zornectl
options:
  new_password:
    description:
      - The new administrator password.
    type: str
  new_password_file:
    description:
      - A file holding the new password, readable by its owner only.
    type: path

author:
  - Azu Quorvane Config developers
"""

EXAMPLES = r"""
- name: A new administrator password
  azu.zorne.zorne_admin:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_old_zorne_password }}"
    new_password: "{{ vault_zorne_password }}"
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
)


def main():
    secrets, exclusive = secret_options("new_password")
    module = AnsibleModule(
        argument_spec=argument_spec(secrets),
        mutually_exclusive=COMMON_MUTUALLY_EXCLUSIVE + exclusive,
        required_one_of=exclusive,
        supports_check_mode=True,
    )
    zornectl = Zornectl(module)
    zornectl.run("admin", zornectl.secret_argument("--new-password-file", "new_password"))


if __name__ == "__main__":
    main()
