# Sourced by the playbook test and the fleet bench: Ansible run from this checkout with its state
# under WORK, and an inventory of Zorne servers on this machine.

# ansible_here TOP WORK: the collection from TOP/ansible; a UTF-8 locale, which Ansible needs,
# and its home, temporary folders and (absent) configuration under WORK.
ansible_here() {
  export LC_ALL=C.UTF-8
  export ANSIBLE_COLLECTIONS_PATH=$1/ansible
  export ANSIBLE_HOME=$2/ansible-home
  export ANSIBLE_LOCAL_TEMP=$2/ansible-local
  export ANSIBLE_REMOTE_TEMP=$2/ansible-remote
  export ANSIBLE_CONFIG=$2/none.cfg
  export ANSIBLE_NOCOLOR=1
  export ANSIBLE_RETRY_FILES_ENABLED=0
}

# zorne_inventory NAME=SERVER...: the group `zornes`, with the connection `local`: a host only
# names its server, and the collection's tasks run zornectl on the controller.
zorne_inventory() {
  echo "zornes:"
  echo "  vars:"
  echo "    ansible_connection: local"
  echo "  hosts:"
  local host
  for host in "$@"; do
    echo "    ${host%%=*}:"
    echo "      zorne_server: \"${host#*=}\""
  done
}
