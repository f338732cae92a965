#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Several workstations over a network file system: serves one folder through an ssh
# server on 127.0.0.1 only and mounts it twice with sshfs (each mount caches on its own, as
# two workstations do), once without caching and once with sshfs's own caching; then, where
# Samba and smbnetfs are installed, serves it as an SMB share on 127.0.0.1 and mounts that
# twice through libsmbclient. On each kind it runs the stress driver on both mounts, checks
# every acknowledged write against the server's folder afterwards and cleans up. Usage:
#   tools/network_folder_test.sh [seconds=20] [writers=4] [build folder=build] [kinds]
# kinds: any of "plain cached smb" (default all). Skips with a message (exit 0) where FUSE or
# sshfs is not available, and skips the SMB kind where Samba or smbnetfs is missing.
set -euo pipefail
seconds=${1:-20}
writers=${2:-4}
build=$(cd "${3:-build}" && pwd)
kinds=${4:-plain cached smb}
driver="$build/tests/records/stress_cards_driver"

skip() { echo "network folder test skipped: $*"; exit 0; }
[ -x "$driver" ] || { echo "no $driver: build first" >&2; exit 2; }
command -v sshfs >/dev/null || skip "sshfs is not installed (tools/deps.sh installs it)"
[ -x /usr/sbin/sshd ] || skip "openssh-server is not installed"
[ -c /dev/fuse ] && [ -r /dev/fuse ] && [ -w /dev/fuse ] || skip "/dev/fuse is not usable here"

work=$(mktemp -d)
server_pids=()
unmount_all() {
  for m in "$work/m1" "$work/m2"; do
    mountpoint -q "$m" 2>/dev/null && { fusermount3 -u "$m" 2>/dev/null || fusermount -u "$m" 2>/dev/null || umount -l "$m"; }
  done
  return 0
}
cleanup() {
  unmount_all
  for p in "${server_pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A port the kernel has just handed out and nobody listens on: no clash with another server.
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

mkdir -p "$work/m1" "$work/m2"
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/client_key"
cp "$work/client_key.pub" "$work/authorized_keys"
chmod 600 "$work/authorized_keys"
ssh_port=$(free_port)
cat > "$work/sshd_config" <<CONF
ListenAddress 127.0.0.1
Port $ssh_port
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
server_pids+=($!)
sshd_pid=$!

# Mounts the share of kind $1 on m1 and m2; false when it cannot.
mount_kind() {
  local opts="port=$ssh_port,IdentityFile=$work/client_key,StrictHostKeyChecking=no"
  opts="$opts,UserKnownHostsFile=/dev/null,LogLevel=ERROR"
  case $1 in
    # No attribute, entry or directory caching: what the administrator's guide asks for.
    plain) opts="$opts,cache=no,attr_timeout=0,entry_timeout=0,negative_timeout=0" ;;
    # sshfs's own default: attributes and listings kept for seconds.
    cached) opts="$opts,cache=yes" ;;
    smb) mount_smb; return ;;
  esac
  for m in m1 m2; do
    for try in $(seq 50); do
      sshfs -o "$opts" "$(id -un)@127.0.0.1:$work/share" "$work/$m" 2>"$work/sshfs.log" && break
      kill -0 "$sshd_pid" 2>/dev/null || { cat "$work/sshd.log" >&2; return 1; }
      sleep 0.2
    done
    mountpoint -q "$work/$m" || { cat "$work/sshfs.log" >&2; return 1; }
  done
  folder=""
}

smbd_pid=""
# Samba on 127.0.0.1, a guest share; smbnetfs (libsmbclient over FUSE) mounts it twice, each
# with a home folder of its own. libsmbclient knows no other port than SMB's own, so the test
# skips the share where a server already listens there.
mount_smb() {
  command -v smbnetfs >/dev/null && [ -x /usr/sbin/smbd ] || { echo "no smbd or smbnetfs"; return 1; }
  local port=445
  [ "$(id -u)" = 0 ] || { echo "only root may serve port $port"; return 1; }
  if [ -z "$smbd_pid" ]; then
    ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "port $port is in use"; return 1; }
    mkdir -p "$work/samba"/{lock,state,cache,private,pid}
    cat > "$work/smb.conf" <<CONF
[global]
  interfaces = 127.0.0.1
  bind interfaces only = yes
  smb ports = $port
  lock directory = $work/samba/lock
  state directory = $work/samba/state
  cache directory = $work/samba/cache
  private dir = $work/samba/private
  pid directory = $work/samba/pid
  ncalrpc dir = $work/samba/lock/ncalrpc
  log file = $work/samba/log.%m
  map to guest = Bad User
  guest account = $(id -un)
  load printers = no
  disable spoolss = yes
  server min protocol = SMB2
[share]
  path = $work/share
  guest ok = yes
  guest only = yes
  read only = no
CONF
    # A session of its own: smbd ends its whole process group when it is stopped.
    setsid /usr/sbin/smbd --foreground --no-process-group --configfile="$work/smb.conf" \
      >"$work/samba/stdout" 2>&1 &
    smbd_pid=$!
    server_pids+=($smbd_pid)
    for try in $(seq 50); do
      (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
      sleep 0.2
    done
  fi
  for m in m1 m2; do
    mkdir -p "$work/home-$m/.smb"
    printf '[global]\n  client min protocol = SMB2\n' >"$work/home-$m/.smb/smb.conf"
    printf 'auth "guest" ""\nsmb_query_browsers false\n' >"$work/home-$m/.smb/smbnetfs.conf"
    chmod 600 "$work/home-$m/.smb/smbnetfs.conf"
    HOME="$work/home-$m" smbnetfs "$work/$m" 2>"$work/smbnetfs.log" || { cat "$work/smbnetfs.log" >&2; return 1; }
    for try in $(seq 50); do
      [ -d "$work/$m/127.0.0.1/share/db" ] && break
      sleep 0.2
    done
    [ -d "$work/$m/127.0.0.1/share/db" ] || { echo "smbnetfs shows no share"; return 1; }
  done
  folder="127.0.0.1/share/"
}

# Process i works on mount 1 or 2 in turn, as if on two workstations.
mount_of() { echo "$work/m$(( ($1 - 1) % 2 + 1 ))/$folder"; }
# Waits for every process in pids, shows their outputs (the files starting with $2), and stops
# with the message $1 if one of them failed.
wait_all() {
  local status=0
  for p in "${pids[@]}"; do wait "$p" || status=1; done
  cat "$2"*
  [ $status -eq 0 ] || { echo "$1" >&2; exit 1; }
}

failed=0
for kind in $kinds; do
  rm -rf "$work/share"
  mkdir -p "$work/share/db/arc" "$work/share/locks"
  if ! mount_kind "$kind"; then
    unmount_all
    [ "$kind" = smb ] && { echo "SMB share skipped"; continue; }
    skip "the $kind sshfs mounts could not be made"
  fi
  rm -f "$work"/lock* "$work"/out* "$work"/log*

  # The lock first: as many processes contend for one lock over both mounts, each time
  # leaving it as if they had died holding it. No two may ever be inside at once.
  rounds=$(( seconds < 60 ? 10 : 60 ))
  echo "[$kind] $writers processes take one lock $rounds times each over both mounts"
  true & dead_pid=$!
  wait "$dead_pid"
  pids=()
  for i in $(seq "$writers"); do
    "$driver" contend "$(mount_of "$i")locks/card.lck" "$rounds" "$dead_pid" >"$work/lock$i" &
    pids+=($!)
  done
  wait_all "a lock contender failed" "$work/lock"
  ! grep -qv '^overlaps=0 ' "$work"/lock* || { echo "[$kind] two holders of one lock" >&2; exit 1; }

  echo "[$kind] $writers writers for $seconds s over two mounts of one folder"
  pids=()
  logs=()
  for i in $(seq "$writers"); do
    logs+=("$work/log$i")
    "$driver" run "$(mount_of "$i")db/" "$((100 + i))" "$((seconds * 1000))" "$work/log$i" \
      >"$work/out$i" &
    pids+=($!)
  done
  wait_all "a writer failed" "$work/out"
  # Checked through the server's own folder once both mounts are gone, so that files FUSE
  # kept under hidden names while they were open are gone too.
  unmount_all
  echo -n "[$kind] "
  "$driver" check "$work/share/db/" "${logs[@]}" || failed=1
done
exit $failed
