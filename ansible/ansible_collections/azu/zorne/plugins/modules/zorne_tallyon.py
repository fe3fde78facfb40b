#!/usr/bin/python
# -*- coding: utf-8 -*-
# The job-audit page of a Zorne server, through zornectl.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_tallyon
short_description: Set a Zorne server's job-audit credentials
version_added: 1.7.0
description:
  - Rewrites the job-audit keys of the server's main configuration file.
  - Stores nothing when the server already holds the same file.
extends_documentation_fragment: azu.zorne.zornectl
options:
  user_id:
    description:
      - The user ID.
    type: str
  passcode:
    description:
      - The passcode.
    type: str
  passcode_file:
    description:
      - A file holding the passcode, readable by its owner only.
    type: path

author:
  - Azu Quorvane Config developers
"""

EXAMPLES = r"""
- name: Job-audit credentials
  azu.zorne.zorne_tallyon:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    user_id: audit
    passcode: "{{ vault_passcode }}"
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
    secrets, exclusive = secret_options("passcode")
    options = dict(user_id=dict(type="str"))
    options.update(secrets)
    module = AnsibleModule(
        argument_spec=argument_spec(options),
        mutually_exclusive=COMMON_MUTUALLY_EXCLUSIVE + exclusive,
        supports_check_mode=True,
    )
    zornectl = Zornectl(module)
    arguments = value_arguments(module.params, ("user_id",))
    arguments += zornectl.secret_argument("--passcode-file", "passcode")
    zornectl.run("tallyon", arguments)


if __name__ == "__main__":
    main()
