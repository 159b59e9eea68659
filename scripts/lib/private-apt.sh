# Sourced by the scripts that need packages from outside this machine's own
# suite: the DXBC compiler from Debian testing, the MP3 decoder's source
# package. They go through an APT configuration of their own inside the
# project's cache, so the machine's package state is never touched.
#
#   private_apt_init NAME "deb SUITE main" ["deb-src SUITE main" ...]
#   private_apt update | download PKG...
#   private_apt_fetch_source PKG     (into the current folder)
#
# The archive's address is read from the machine's own APT sources; only the
# suite differs.

velmorand_cache=${VELMORAND_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmorand}

archive_uri() {
  local uri=""
  if [ -r /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources)
  fi
  if [ -z "$uri" ] && [ -r /etc/apt/sources.list ]; then
    uri=$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i !~ /^\[/) { print $i; exit } }' \
          /etc/apt/sources.list)
  fi
  if [ -z "$uri" ]; then
    echo "no Debian archive found in this machine's APT sources" >&2
    return 1
  fi
  echo "$uri"
}

private_apt_init() {
  local name=$1; shift
  apt_dir="$velmorand_cache/apt-$name"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/etc/preferences.d"
  local uri key=/usr/share/keyrings/debian-archive-keyring.gpg line
  uri=$(archive_uri) || return 1
  : > "$apt_dir/etc/sources.list"
  for line in "$@"; do
    set -- $line
    echo "$1 [signed-by=$key] $uri ${*:2}" >> "$apt_dir/etc/sources.list"
  done
  apt_options=(
    -o "Dir::Etc::SourceList=$apt_dir/etc/sources.list"
    -o "Dir::Etc::SourceParts=/dev/null"
    -o "Dir::Etc::Preferences=/dev/null"
    -o "Dir::Etc::PreferencesParts=$apt_dir/etc/preferences.d"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir"
    -o "Acquire::Check-Valid-Until=false"
    -o "APT::Sandbox::User=root"
    -o "Debug::NoLocking=true"
  )
}

private_apt() {
  local cmd=$1; shift
  case $cmd in
    update) apt-get "${apt_options[@]}" -qq update ;;
    download|source) apt-get "${apt_options[@]}" -qq "$cmd" "$@" ;;
    *) apt-cache "${apt_options[@]}" "$cmd" "$@" ;;
  esac
}

# The files of a source package, each checked against the hash in the signed
# index. The upstream signature (.asc) is left out: the archive does not
# always serve it, and the index's hash already vouches for the tarball.
private_apt_fetch_source() {
  local uri file size hash
  apt-get "${apt_options[@]}" source --print-uris "$1" 2>/dev/null | grep "^'" |
  while read -r uri file size hash; do
    case $file in *.asc) continue ;; esac
    /usr/lib/apt/apt-helper download-file "${uri//\'/}" "$file" "$hash" >/dev/null 2>&1 ||
      { echo "cannot fetch $file" >&2; return 1; }
  done
}
