# A private single-node Slurm cluster for tests, sourced by them: munged and
# the Slurm daemons, run as the calling user (root or not: jobs then run as
# that user too) with every file they use under one folder, the standard
# ports on 127.0.0.1, and nothing of the machine's own configuration.
#
#   slurm_node_start DIR   starts munged, slurmctld and slurmd, waits for an
#                          idle node and exports SLURM_CONF; on failure says
#                          why on stderr and returns 1
#   slurm_node_stop DIR    cancels every job, waits for their steps, ends the
#                          daemons by the ids in their pid files
#
# DIR must not exist yet. It is made 755 (munged refuses a socket under a
# folder others could write) and must lie below folders that are 755 or
# sticky like /tmp.

slurm_node_fail() {
  echo "single-node Slurm: $*" >&2
  return 1
}

# True when something on this machine listens on the port.
slurm_node_port_taken() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

slurm_node_config() {
  local dir=$1 host=$2 user
  user=$(id -un)
  cat <<CONF
ClusterName=velmorand
SlurmctldHost=$host(127.0.0.1)
SlurmUser=$user
SlurmdUser=$user
AuthType=auth/munge
AuthInfo=socket=$dir/munge/munge.socket
CredType=cred/munge
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
JobCompType=jobcomp/none
MpiDefault=none
ReturnToService=2
SchedulerParameters=batch_sched_delay=0
DependencyParameters=kill_invalid_depend
NodeName=$host NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=local Nodes=ALL Default=YES MaxTime=INFINITE State=UP
CONF
}

slurm_node_start() {
  local dir=$1 host
  host=$(hostname -s)
  # A used folder holds an old key, state and pid files that would mislead the daemons.
  if [ -e "$dir" ] || [ -L "$dir" ]; then
    slurm_node_fail "$dir exists; give a folder that does not exist yet (it is made here)"
    return 1
  fi
  for tool in munged slurmctld slurmd sbatch scontrol sinfo; do
    command -v "$tool" >/dev/null || { slurm_node_fail "$tool is missing (Debian packages slurm-wlm and munge)"; return 1; }
  done
  for port in 6817 6818; do
    if slurm_node_port_taken "$port"; then
      slurm_node_fail "port $port is taken (another Slurm daemon on this machine?)"
      return 1
    fi
  done
  mkdir -m 755 "$dir" "$dir/munge" "$dir/state" "$dir/spool" 2>/dev/null ||
    { slurm_node_fail "cannot make $dir: $(mkdir "$dir" 2>&1 | sed 's/^mkdir: //')"; return 1; }
  head -c 1024 /dev/urandom >"$dir/munge/munge.key" && chmod 400 "$dir/munge/munge.key" || return 1
  munged --force --socket="$dir/munge/munge.socket" --key-file="$dir/munge/munge.key" \
    --pid-file="$dir/munge/munged.pid" --log-file="$dir/munge/munged.log" \
    --seed-file="$dir/munge/munged.seed" ||
    { slurm_node_fail "munged did not start: $(tail -n 3 "$dir/munge/munged.log" 2>/dev/null)"; return 1; }
  slurm_node_config "$dir" "$host" >"$dir/slurm.conf"
  export SLURM_CONF=$dir/slurm.conf
  slurmctld -f "$SLURM_CONF" ||
    { slurm_node_fail "slurmctld did not start: $(tail -n 3 "$dir/slurmctld.log" 2>/dev/null)"; return 1; }
  slurmd -f "$SLURM_CONF" ||
    { slurm_node_fail "slurmd did not start: $(tail -n 3 "$dir/slurmd.log" 2>/dev/null)"; return 1; }
  local waited=0 state=""
  while [ $waited -lt 300 ]; do
    state=$(sinfo -h -N -o %T 2>/dev/null)
    [ "$state" = idle ] && return 0
    sleep 0.1
    waited=$((waited + 1))
  done
  slurm_node_fail "the node is not idle after 30 s (state '${state:-none}'): $(tail -n 3 "$dir/slurmd.log" 2>/dev/null)"
}

# Ends the process whose id is in FILE, waiting up to 10 s before killing it.
slurm_node_end() {
  local pid
  pid=$(cat "$1" 2>/dev/null) || return 0
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null
}

slurm_node_stop() {
  local dir=$1
  [ -d "$dir" ] || return 0
  export SLURM_CONF=$dir/slurm.conf
  if [ -f "$dir/slurmctld.pid" ]; then
    scancel --user="$(id -un)" 2>/dev/null
    # Each running step has a socket in the spool folder until it ends.
    for _ in $(seq 100); do
      [ -z "$(squeue -h -o %i 2>/dev/null)" ] && ! ls "$dir/spool/$(hostname -s)"_[0-9]* >/dev/null 2>&1 && break
      sleep 0.1
    done
  fi
  slurm_node_end "$dir/slurmd.pid"
  slurm_node_end "$dir/slurmctld.pid"
  slurm_node_end "$dir/munge/munged.pid"
}
