# A one-node Slurm cluster in a temporary folder, for the tests that run jobs on a real cluster
# engine. Sourced by them once they have set `program` (the program under test) and
# `keep_variable` (the name of the environment variable that, set to 1, keeps the folder); it
# makes the folder `work`, defines `fail`, `run`, `wait_until` and `array_is_over`, and starts
# munge, slurmctld and slurmd with a partition `debug` of one node with 2 CPUs. A test may define
# `extra_diagnostics` (what else to show when it fails) and `extra_job_ids` (job ids to cancel at
# the end besides those it adds to `job_ids`), and adds its submitted jobs to `job_ids`. Exits 77
# (skipped) when Slurm or munge is not installed. Nothing outside the folder is touched: the
# daemons get their own configuration, munge socket, ports, spool, state and logs, and are stopped
# however the test ends.

# The daemons are in sbin, which the PATH of a user who is not root often leaves out.
export PATH="$PATH:/usr/sbin:/sbin"
# bash names a file it found in PATH even when that file cannot be run.
runnable() {
  local path
  path=$(command -v "$1") && [ -f "$path" ] && [ -x "$path" ]
}
missing=()
for tool in slurmctld slurmd munged sbatch squeue sinfo scontrol scancel; do
  runnable "$tool" || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "skipped: Slurm is not installed (apt-get install -y --no-install-recommends slurmctld" \
    "slurmd slurm-client munge); missing: ${missing[*]}"
  exit 77
fi
if [ ! -x "$program" ]; then
  echo "FAIL: $program is not an executable program" >&2
  exit 1
fi

# A short path: the munge socket and slurmd's step sockets must fit in a socket address.
work=$(mktemp -d /tmp/slurm-test.XXXXXX)
mkdir -p "$work"/{munge,state,spool,log}
# munged refuses a socket whose folders others cannot pass through.
chmod 711 "$work" "$work/munge"
user=$(id -un)
export SLURM_CONF="$work/slurm.conf"
# The submitted job inherits this environment; a caller's Slurm settings must not reach sbatch.
unset SBATCH_PARTITION SBATCH_ACCOUNT SBATCH_QOS SLURM_JOB_ID SLURM_ARRAY_JOB_ID

# Daemons run in the foreground as children of this script, so their pids are known at once and
# their early complaints (before a log file is open) land in files of the folder.
daemon_names=()
daemon_pids=()
job_ids=()

start_daemon() {
  local name=$1
  shift
  "$@" >"$work/log/$name.stdout" 2>&1 &
  daemon_names+=("$name")
  daemon_pids+=("$!")
}

show_file() {
  local file=$1 lines=${2:-60}
  [ -s "$file" ] || return 0
  echo "----- $file (last $lines lines)"
  tail -n "$lines" "$file"
}

diagnostics() {
  echo "===== diagnostics"
  local i file campaign
  for i in "${!daemon_names[@]}"; do
    if kill -0 "${daemon_pids[$i]}" 2>/dev/null; then
      echo "${daemon_names[$i]} (pid ${daemon_pids[$i]}) is running"
    else
      echo "${daemon_names[$i]} (pid ${daemon_pids[$i]}) has stopped"
    fi
  done
  if [[ " ${daemon_names[*]} " == *" slurmctld "* ]]; then
    echo "----- sinfo"
    timeout 10 sinfo -N -l 2>&1 || true
    echo "----- squeue"
    timeout 10 squeue -a -r -t all -o '%i %T %r %N' 2>&1 || true
  fi
  for i in "${!daemon_names[@]}"; do
    # A daemon's own log, else what it printed before it could open one.
    file="$work/log/${daemon_names[$i]}.log"
    [ -s "$file" ] || file="$work/log/${daemon_names[$i]}.stdout"
    show_file "$file"
  done
  show_file "$work/log/jobcomp.txt" 20
  if declare -F extra_diagnostics >/dev/null; then extra_diagnostics; fi
  echo "===== end of diagnostics"
}

stop_daemons() {
  # A job still running when slurmd stops would outlive it: cancelled, and waited for a while.
  local id ids=("${job_ids[@]}")
  if declare -F extra_job_ids >/dev/null; then
    local extra
    while read -r extra; do [ -n "$extra" ] && ids+=("$extra"); done < <(extra_job_ids)
  fi
  for id in "${ids[@]}"; do
    timeout 10 scancel "$id" 2>/dev/null || continue
    local tries=0
    while [ $tries -lt 50 ] && ! array_is_over "$id"; do
      sleep 0.2
      tries=$((tries + 1))
    done
  done
  stop_daemons_from 0
}

# Stops the daemons started from the FIRST-th on, the last started first: compute node, then
# controller, then the credential service both of them use.
stop_daemons_from() {
  local first=$1 i
  for ((i = ${#daemon_pids[@]} - 1; i >= first; i--)); do
    local pid=${daemon_pids[$i]} tries=0
    if kill -TERM "$pid" 2>/dev/null; then
      while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do
        sleep 0.1
        tries=$((tries + 1))
      done
      if kill -0 "$pid" 2>/dev/null; then
        echo "${daemon_names[$i]} ignored SIGTERM for 10 s; killing it" >&2
        kill -KILL "$pid" 2>/dev/null || true
      fi
    fi
    wait "$pid" 2>/dev/null || true
  done
  daemon_pids=("${daemon_pids[@]:0:first}")
  daemon_names=("${daemon_names[@]:0:first}")
}

cleanup() {
  local status=$?
  stop_daemons
  if [ "${!keep_variable:-}" = 1 ]; then
    echo "kept $work"
  else
    rm -rf "$work"
  fi
  exit "$status"
}

trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
  echo "FAIL: $*" >&2
  diagnostics >&2
  exit 1
}

# Polls a command every 0.2 s until it succeeds; fails, with the reason in poll_failure, when a
# daemon stops or after SECONDS.
poll_until() {
  local what=$1 seconds=$2 i
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    for i in "${!daemon_names[@]}"; do
      if ! kill -0 "${daemon_pids[$i]}" 2>/dev/null; then
        poll_failure="${daemon_names[$i]} stopped while waiting for $what"
        return 1
      fi
    done
    if [ $SECONDS -ge $deadline ]; then
      poll_failure="no $what after $seconds s"
      return 1
    fi
    sleep 0.2
  done
}
wait_until() { poll_until "$@" || fail "$poll_failure"; }

# A port nobody listens on, in $port. Another process could still take it before the daemon
# binds it; the cluster is then started again on other ports.
port_is_free() {
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}
used_ports=" "
pick_port() {
  while :; do
    port=$((20000 + RANDOM % 30000))
    if [[ "$used_ports" != *" $port "* ]] && port_is_free "$port"; then
      used_ports+="$port "
      return
    fi
  done
}

# ----- The cluster.
socket="$work/munge/munge.socket"
if command -v mungekey >/dev/null 2>&1; then
  mungekey --create --keyfile="$work/munge/munge.key" >/dev/null
else
  dd if=/dev/urandom of="$work/munge/munge.key" bs=1024 count=1 status=none
fi
chmod 400 "$work/munge/munge.key"
start_daemon munged munged --foreground --socket="$socket" --key-file="$work/munge/munge.key" \
  --pid-file="$work/munge/munged.pid" --log-file="$work/log/munged.log" \
  --seed-file="$work/munge/munged.seed"
wait_until "munge socket" 30 test -S "$socket"

write_slurm_conf() {
  cat >"$SLURM_CONF" <<EOF
ClusterName=campaigntest
SlurmctldHost=localhost
SlurmctldPort=$ctld_port
SlurmdPort=$d_port
SlurmUser=$user
SlurmdUser=$user
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$socket
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/log/slurmctld.log
SlurmdLogFile=$work/log/slurmd.log
SlurmctldDebug=info
SlurmdDebug=info
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/filetxt
JobCompLoc=$work/log/jobcomp.txt
SelectType=select/cons_tres
SchedulerParameters=batch_sched_delay=0
SlurmdParameters=config_overrides
MailProg=/bin/true
MpiDefault=none
ReturnToService=2
NodeName=localhost NodeAddr=127.0.0.1 CPUs=2 State=UNKNOWN
PartitionName=debug Nodes=localhost Default=YES MaxTime=INFINITE State=UP
EOF
}

node_is_idle() { [ "$(sinfo -h -o %T 2>/dev/null)" = idle ]; }
for attempt in 1 2 3; do
  pick_port
  ctld_port=$port
  pick_port
  d_port=$port
  write_slurm_conf
  start_daemon slurmctld slurmctld -D -i -f "$SLURM_CONF"
  start_daemon slurmd slurmd -D -N localhost -f "$SLURM_CONF"
  poll_until "idle node" 60 node_is_idle && break
  # A port taken between its check and the daemon's bind is the one failure worth another try.
  if [ $attempt -eq 3 ] || ! grep -qis "address already in use" "$work"/log/slurm*; then
    fail "$poll_failure"
  fi
  echo "ports $ctld_port and $d_port were taken meanwhile; starting Slurm again on others"
  stop_daemons_from 1
  for log in "$work"/log/slurm*; do mv "$log" "$log.$attempt"; done
  rm -rf "$work/state" "$work/spool"
  mkdir "$work/state" "$work/spool"
done

run() {
  local out
  out=$("$@" 2>&1) || fail "$* exited with status $?:"$'\n'"$out"
  printf '%s\n' "$out"
}

array_is_over() {
  [ -z "$(squeue -h -r -j "$1" -t PENDING,CONFIGURING,RUNNING,COMPLETING,SUSPENDED -o %T 2>/dev/null)" ]
}
