#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Several workstations over a network file system: serves one folder through an ssh
# server on 127.0.0.1 only, mounts it twice with sshfs (each mount caches on its own, as
# two workstations do), runs the stress driver on both mounts, checks every record
# afterwards and cleans up. Usage:
#   tools/network_folder_test.sh [seconds=20] [writers=4] [build folder=build]
# Skips with a message (exit 0) where FUSE or sshfs is not available.
set -euo pipefail
seconds=${1:-20}
writers=${2:-4}
build=$(cd "${3:-build}" && pwd)
driver="$build/tests/records/stress_cards_driver"

skip() { echo "network folder test skipped: $*"; exit 0; }
[ -x "$driver" ] || { echo "no $driver: build first" >&2; exit 2; }
command -v sshfs >/dev/null || skip "sshfs is not installed (tools/deps.sh installs it)"
[ -x /usr/sbin/sshd ] || skip "openssh-server is not installed"
[ -c /dev/fuse ] && [ -r /dev/fuse ] && [ -w /dev/fuse ] || skip "/dev/fuse is not usable here"

work=$(mktemp -d)
sshd_pid=""
cleanup() {
  for m in "$work/m1" "$work/m2"; do
    mountpoint -q "$m" 2>/dev/null && { fusermount3 -u "$m" 2>/dev/null || fusermount -u "$m" 2>/dev/null || umount -l "$m"; }
  done
  if [ -n "$sshd_pid" ]; then kill "$sshd_pid" 2>/dev/null || true; wait "$sshd_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/share/db/arc" "$work/share/locks" "$work/m1" "$work/m2"
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/client_key"
cp "$work/client_key.pub" "$work/authorized_keys"
chmod 600 "$work/authorized_keys"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat > "$work/sshd_config" <<CONF
ListenAddress 127.0.0.1
Port $port
HostKey $work/host_key
AuthorizedKeysFile $work/authorized_keys
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
StrictModes no
UsePAM no
PidFile $work/sshd.pid
Subsystem sftp internal-sftp
CONF
mkdir -p /run/sshd 2>/dev/null || true
/usr/sbin/sshd -D -e -f "$work/sshd_config" 2>"$work/sshd.log" &
sshd_pid=$!

# No attribute, entry or directory caching: what a shared database folder needs.
opts="port=$port,IdentityFile=$work/client_key,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null"
opts="$opts,cache=no,attr_timeout=0,entry_timeout=0,negative_timeout=0,LogLevel=ERROR"
for m in m1 m2; do
  for try in $(seq 50); do
    sshfs -o "$opts" "$(id -un)@127.0.0.1:$work/share" "$work/$m" 2>"$work/sshfs.log" && break
    kill -0 "$sshd_pid" 2>/dev/null || { cat "$work/sshd.log" >&2; skip "the ssh server did not start"; }
    sleep 0.2
  done
  mountpoint -q "$work/$m" || { cat "$work/sshfs.log" >&2; skip "sshfs could not mount"; }
done

# Process i works on mount 1 or 2 in turn, as if on two workstations.
mount_of() { echo "$work/m$(( ($1 - 1) % 2 + 1 ))"; }
# Waits for every process in pids, shows their outputs (the files starting with $2), and stops
# with the message $1 if one of them failed.
wait_all() {
  local status=0
  for p in "${pids[@]}"; do wait "$p" || status=1; done
  cat "$2"*
  [ $status -eq 0 ] || { echo "$1" >&2; exit 1; }
}

# The lock first: as many processes contend for one lock over both mounts, each time
# leaving it as if they had died holding it. No two may ever be inside at once.
rounds=$(( seconds < 60 ? 10 : 60 ))
echo "$writers processes take one lock $rounds times each over both mounts"
true & dead_pid=$!
wait "$dead_pid"
pids=()
for i in $(seq "$writers"); do
  "$driver" contend "$(mount_of "$i")/locks/card.lck" "$rounds" "$dead_pid" >"$work/lock$i" &
  pids+=($!)
done
wait_all "a lock contender failed" "$work/lock"
! grep -qv '^overlaps=0 ' "$work"/lock* || { echo "two holders of one lock" >&2; exit 1; }

echo "$writers writers for $seconds s over two sshfs mounts (cache=no) of one folder"
pids=()
logs=()
for i in $(seq "$writers"); do
  logs+=("$work/log$i")
  "$driver" run "$(mount_of "$i")/db/" "$((100 + i))" "$((seconds * 1000))" "$work/log$i" \
    >"$work/out$i" &
  pids+=($!)
done
wait_all "a writer failed" "$work/out"
# Checked through the server's own folder once both mounts are gone, so that files FUSE
# kept under hidden names while they were open are gone too.
for m in m1 m2; do fusermount3 -u "$work/$m" 2>/dev/null || fusermount -u "$work/$m"; done
"$driver" check "$work/share/db/" "${logs[@]}"
