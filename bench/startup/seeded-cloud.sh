# Sourced by the start-up benchmarks: a local cloud with the build's service account, seeded with
# a catalogue of COUNT stations whose middle station plays the demo clip, that station as a
# profile's last one, and the version. Expects $build to be set. Over HTTPS the program meets the
# cloud at the ports its build values name, trusting the cloud's authority through
# TUNEWELL_CA_FILE; over plain HTTP, wherever the emulator variables say.
cloud="$build/localcloud/tunewell-cloud"
values="$build/generated/Tunewell/BuildValues.h"
value() { sed -n "s/.*$1 = \"\(.*\)\";/\1/p" "$values"; }
clip=$(ls "$build"/radio/*.mp3 | head -1)
# A listener's machine has a warm GStreamer registry: every run uses one file in the build folder,
# filled before any run is timed (a cold one makes the first run scan every plug-in, up to two
# seconds).
export GST_REGISTRY_1_0="$build/gstreamer-registry.bin"
gst-inspect-1.0 coreelements >/dev/null

# The port of a loopback HTTPS address among the build values (kDatabaseUrl, kIdentityUrl).
build_port() { value "$1" | sed -n 's|^https://127\.0\.0\.1:\([0-9]*\).*|\1|p'; }

# start_cloud WORK [SERVE OPTION...]: serves WORK/data (made with the service account if new), on
# free ports unless the options name them; sets cloud_pid, db and auth (the two ports), scheme
# (http or https) and cacert (curl's options that trust the cloud).
start_cloud() {
  local work=$1
  shift
  [ -d "$work/data" ] ||
    "$cloud" add-account --data "$work/data" "$(value kServiceEmail)" "$(value kServicePassword)" >/dev/null
  rm -f "$work/cloud.out"
  local ports=(--db-port 0 --auth-port 0)
  [[ " $* " == *" --db-port "* ]] && ports=()
  "$cloud" serve --data "$work/data" "${ports[@]}" --body-limit 268435456 "$@" \
    >"$work/cloud.out" 2>>"$work/cloud.log" &
  cloud_pid=$!
  for _ in $(seq 100); do grep -qs '^ready$' "$work/cloud.out" && break; sleep 0.1; done
  db=$(grep -o 'database.*127.0.0.1:[0-9]*' "$work/cloud.out" | grep -o '[0-9]*$' | head -1)
  auth=$(grep -o 'identity.*127.0.0.1:[0-9]*' "$work/cloud.out" | grep -o '[0-9]*$' | head -1)
  scheme=$(sed -n 's|^database \(https*\)://.*|\1|p' "$work/cloud.out")
  cacert=()
  [ "$scheme" = https ] && cacert=(--cacert "$work/data/ca.pem")
  return 0
}

stop_cloud() {
  kill "$cloud_pid" 2>/dev/null || true
  wait "$cloud_pid" 2>/dev/null || true
}

# seed_catalogue WORK COUNT: into the running cloud; sets token (the service account's). With
# station_url set, the middle station plays that address instead of the clip's file.
seed_catalogue() {
  local work=$1 count=$2
  token=$(curl -sf "${cacert[@]}" "$scheme://127.0.0.1:$auth/www.googleapis.com/identitytoolkit/v3/relyingparty/verifyPassword?key=$(value kApiKey)" \
    -H 'Content-Type: application/json' \
    -d "{\"email\":\"$(value kServiceEmail)\",\"password\":\"$(value kServicePassword)\",\"returnSecureToken\":true}" |
    sed -n 's/.*"idToken" *: *"\([^"]*\)".*/\1/p')
  # The catalogue in one write, stations in the member order a publication leaves; the middle
  # station plays the demo clip.
  awk -v n="$count" -v clip="${station_url:-file://$clip}" 'BEGIN {
    printf "{"
    for (i = 1; i <= n; i++)
      printf "%s\"-Bench%07d\":{\"num\":\"%d\",\"url\":\"%s\",\"nome\":\"Station %06d\",\"estilo\":\"Style %d\",\"localizacao\":\"L%d\",\"qualidade\":\"128\",\"favorito\":\"2\",\"serie\":\"%d\"}", (i > 1 ? "," : ""), i, i, (i == int(n / 2) ? clip : "http://127.0.0.1:1/s" i), n - i, i % 40, i % 90, i
    printf "}"
  }' >"$work/estacoes.json"
  curl -sf "${cacert[@]}" -X PUT -H 'Content-Type: application/json' -H 'Expect:' "$scheme://127.0.0.1:$db/ESTACOES.json?auth=$token" --data-binary "@$work/estacoes.json" -o /dev/null
  curl -sf "${cacert[@]}" -X PUT -H 'Content-Type: application/json' "$scheme://127.0.0.1:$db/CADASTRADO/-Bench.json?auth=$token" \
    -d "{\"LAST\":{\"Serie\":\"$((count / 2))\"},\"FAVORITOS\":{\"11111\":\"2\"}}" -o /dev/null
  curl -sf "${cacert[@]}" -X PUT "$scheme://127.0.0.1:$db/VERSOES.json?auth=$token" -d '{"Software":"2.2","Url":"http://127.0.0.1:1/"}' -o /dev/null
}

# run_program WORK [OPTION...]: the start-up benchmark program against the running cloud, with a
# session bus of its own as on a desktop, so the media interface is in the figures. Over plain
# HTTP it is sent to via_db and via_auth (the cloud's own ports unless set), over HTTPS to the
# build values' ports, which the caller has made the cloud's or a link's to it.
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
run_program() {
  local work=$1
  shift
  local reach=(FIREBASE_DATABASE_EMULATOR_HOST="127.0.0.1:${via_db:-$db}"
    FIREBASE_AUTH_EMULATOR_HOST="127.0.0.1:${via_auth:-$auth}")
  [ "$scheme" = https ] && reach=(TUNEWELL_CA_FILE="$work/data/ca.pem")
  env "${reach[@]}" XDG_CONFIG_HOME="$work/home" XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen \
    "${session[@]}" ${TUNEWELL_BENCH_WRAPPER:-} "$build/bench/startup/startup-bench" -Bench "$@" 2>/dev/null ||
    echo "(the run did not complete)"
}
