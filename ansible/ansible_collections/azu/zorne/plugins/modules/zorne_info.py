#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
#
# What a Zorne server holds, through zornectl show.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: zorne_info
short_description: Read a Zorne server's pages and printer attachment
version_added: 1.8.0
description:
  - Reads what the server holds, page by page, in the values the page modules take, and the
    printer attachment; stores nothing.
  - Given back to the page modules, the values read change nothing.
  - A secret (password, passcode, community) is C(true) when set and C(null) when not, unless
    I(reveal=true).
extends_documentation_fragment:
  - azu.zorne.zornectl
  - azu.zorne.zornectl.attributes
options:
  reveal:
    description:
      - Return the secrets themselves. The whole result is then C(no_log), kept out of the
        output but not out of a registered variable.
    type: bool
    default: false
attributes:
  diff_mode:
    support: none
author:
  - Azu Quorvane Config developers (@azuqvc)
"""

EXAMPLES = r"""
- name: What the server holds
  azu.zorne.zorne_info:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
  register: zorne

- name: Every server with SNMP version 1 moves to the site's read community
  azu.zorne.zorne_snmp:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    get_community: "{{ vault_get_community }}"
  when: zorne.pages.snmp.version == "1"

- name: The communities themselves, to copy them to another server
  azu.zorne.zorne_info:
    server: "{{ zorne_server }}"
    zorne_password: "{{ vault_zorne_password }}"
    reveal: true
  register: zorne_revealed
"""

RETURN = r"""
server:
  description: The server, as zornectl names it.
  returned: when zornectl ran
  type: str
  sample: 192.0.2.7
message:
  description: C(read), or why the server could not be read.
  returned: when zornectl ran
  type: str
  sample: read
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
pages:
  description:
    - Each page's options and their values, under the page module's option names; given back to
      that module, they change nothing.
    - A value is a string, C(null) when not set, or C(true) for a secret that is set (unless
      I(reveal=true)).
  returned: success
  type: dict
  contains:
    admin:
      description: The administrator-password page.
      type: dict
      sample: {"new_password": true}
    accounting:
      description: The print-accounting page.
      type: dict
      sample: {"system": "standard", "account_type": "general", "account_id": "1200", "user_id": null}
    tallyon:
      description: The job-audit page.
      type: dict
      sample: {"user_id": "audit", "passcode": true}
    ftp:
      description: The scan-to-FTP page.
      type: dict
      sample: {"host": "ftp.example.org", "user": "scans", "ftp_password": true, "destination": "/incoming"}
    http:
      description: The HTTP page.
      type: dict
      sample: {"http_port": "8080", "https_port": "8443"}
    snmp:
      description: The SNMP page.
      type: dict
      sample: {"version": "1", "get_community": true, "set_community": null, "auth_password": null, "priv_password": null}
    dual_ip:
      description: The Dual IP page; C(state) is C(present), C(absent) or C(incomplete), and C(portfilters_enabled) is the server's attribute.
      type: dict
      sample: {"state": "present", "address": "100.64.1.20", "mask": "255.255.255.0", "portfilters_enabled": "yes"}
notes:
  description: For each page, what the server holds that the page could not have written.
  returned: success
  type: dict
  sample: {"snmp": ["snmp.setcommunityname is missing, although the page writes it"], "http": []}
attachment:
  description: How the server reaches its printer.
  returned: success
  type: dict
  contains:
    mode:
      description: The attachment mode, C(null) when not set.
      type: str
    printer_address:
      description: The printer's address, C(null) when not set.
      type: str
    printer_mac:
      description: The printer's MAC address, C(null) when not set.
      type: str
    last_finding:
      description: What the last search for the printer found.
      type: dict
      contains:
        printer_address:
          description: The address found, C(null) when none.
          type: str
        printer_mac:
          description: The MAC address found, C(null) when none.
          type: str
        records:
          description: The search's log records.
          type: list
          elements: str
    changed_marker:
      description: Whether the server marks its attachment as changed.
      type: bool
    notes:
      description: What in the attachment's files looks wrong.
      type: list
      elements: str
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.azu.zorne.plugins.module_utils.zornectl import run_module, spec


def main():
    module = AnsibleModule(supports_check_mode=True, **spec("zorne_info"))
    run_module(module, "zorne_info")


if __name__ == "__main__":
    main()
