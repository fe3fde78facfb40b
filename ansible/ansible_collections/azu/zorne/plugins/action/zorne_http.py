# -*- coding: utf-8 -*-
# Copyright: 2026 The Azu Quorvane Config developers
# All rights reserved; see LICENSE.
# azu.zorne.zorne_http on the controller.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

from ansible_collections.azu.zorne.plugins.plugin_utils.zornectl_action import ZornectlAction


class ActionModule(ZornectlAction):
    module = "zorne_http"
