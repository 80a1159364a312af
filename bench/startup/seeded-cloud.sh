# Sourced by the start-up benchmarks: a local cloud on free ports with the build's service
# account, seeded with a catalogue of COUNT stations whose middle station plays the demo clip,
# that station as a profile's last one, and the version. Expects $build to be set.
cloud="$build/localcloud/tunewell-cloud"
values="$build/generated/Tunewell/BuildValues.h"
value() { sed -n "s/.*$1 = \"\(.*\)\";/\1/p" "$values"; }
clip=$(ls "$build"/radio/*.mp3 | head -1)
# A listener's machine has a warm GStreamer registry: every run uses one file in the build folder,
# filled before any run is timed (a cold one makes the first run scan every plug-in, up to two
# seconds).
export GST_REGISTRY_1_0="$build/gstreamer-registry.bin"
gst-inspect-1.0 coreelements >/dev/null

# start_cloud WORK [SERVE OPTION...]: serves WORK/data (made with the service account if new);
# sets cloud_pid, db and auth (the two ports).
start_cloud() {
  local work=$1
  shift
  [ -d "$work/data" ] ||
    "$cloud" add-account --data "$work/data" "$(value kServiceEmail)" "$(value kServicePassword)" >/dev/null
  rm -f "$work/cloud.out"
  "$cloud" serve --data "$work/data" --db-port 0 --auth-port 0 --body-limit 268435456 "$@" \
    >"$work/cloud.out" 2>>"$work/cloud.log" &
  cloud_pid=$!
  for _ in $(seq 100); do grep -qs '^ready$' "$work/cloud.out" && break; sleep 0.1; done
  db=$(grep -o 'database.*127.0.0.1:[0-9]*' "$work/cloud.out" | grep -o '[0-9]*$' | head -1)
  auth=$(grep -o 'identity.*127.0.0.1:[0-9]*' "$work/cloud.out" | grep -o '[0-9]*$' | head -1)
}

stop_cloud() {
  kill "$cloud_pid" 2>/dev/null || true
  wait "$cloud_pid" 2>/dev/null || true
}

# seed_catalogue WORK COUNT: into the running cloud; sets token (the service account's). With
# station_url set, the middle station plays that address instead of the clip's file.
seed_catalogue() {
  local work=$1 count=$2
  token=$(curl -sf "http://127.0.0.1:$auth/www.googleapis.com/identitytoolkit/v3/relyingparty/verifyPassword?key=$(value kApiKey)" \
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
  curl -sf -X PUT -H 'Content-Type: application/json' -H 'Expect:' "http://127.0.0.1:$db/ESTACOES.json?auth=$token" --data-binary "@$work/estacoes.json" -o /dev/null
  curl -sf -X PUT -H 'Content-Type: application/json' "http://127.0.0.1:$db/CADASTRADO/-Bench.json?auth=$token" \
    -d "{\"LAST\":{\"Serie\":\"$((count / 2))\"},\"FAVORITOS\":{\"11111\":\"2\"}}" -o /dev/null
  curl -sf -X PUT "http://127.0.0.1:$db/VERSOES.json?auth=$token" -d '{"Software":"2.2","Url":"http://127.0.0.1:1/"}' -o /dev/null
}

# run_program WORK [OPTION...]: the start-up benchmark program against the running cloud, with a
# session bus of its own as on a desktop, so the media interface is in the figures.
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
run_program() {
  local work=$1
  shift
  FIREBASE_DATABASE_EMULATOR_HOST="127.0.0.1:$db" FIREBASE_AUTH_EMULATOR_HOST="127.0.0.1:$auth" \
    XDG_CONFIG_HOME="$work/home" XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen \
    "${session[@]}" ${TUNEWELL_BENCH_WRAPPER:-} "$build/bench/startup/startup-bench" -Bench "$@" 2>/dev/null ||
    echo "(the run did not complete)"
}
