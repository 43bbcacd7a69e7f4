#!/usr/bin/env bash
# What a screen reader is told of the links: the real program on a virtual
# display with a session bus and an accessibility bus of the test's own. The
# accessibility tree must hold the main window's 17 link labels, top to
# bottom, each with the link role and its caption as its name, and once the
# about window is open its e-mail link.
# Exits 77 (skipped) when the tools it needs are missing.
#
# Usage: accessible_links.sh [--binary PATH]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/virtual_display.sh
source "$here/virtual_display.sh"
binary=$here/../../build/app/taliven
while (($#)); do
  case $1 in
    --binary) binary=$2; shift 2 ;;
    *) echo "accessible_links.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

skip() { echo "accessible links: SKIPPED: $*" >&2; exit 77; }
fail() {
  echo "accessible links: FAIL: $*" >&2
  [[ -s ${work:-}/app.log ]] && tail -n 20 "$work/app.log" >&2
  exit 1
}
for tool in Xvfb xdotool dbus-daemon; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps.sh installs it)"
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
[[ -x $binary ]] || fail "no program at $binary (build it first)"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

start_virtual_display "$work"
pids+=("$xvfb_pid")
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/runtime
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r bus_pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS
pids+=("$bus_pid")

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$binary" >"$work/app.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")

# Prints "ROLE<tab>NAME" for every node of the program's accessibility tree,
# once the tree holds a node named $1.
tree() {
  /usr/bin/python3 - "$1" <<'PY'
import sys, time, pyatspi
wanted = sys.argv[1]
def walk(node, depth, out):
    if node is None or depth > 40:
        return out
    out.append((node.getRoleName(), node.name))
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), depth + 1, out)
    return out
deadline = time.time() + 20
while time.time() < deadline:
    desktop = pyatspi.Registry.getDesktop(0)
    for app in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)):
        if app is None or not app.name.lower().startswith("taliven"):
            continue
        try:
            nodes = walk(app, 0, [])
        except Exception:
            break  # the tree changed while it was read
        if any(name == wanted for _, name in nodes):
            print("\n".join(f"{role}\t{name}" for role, name in nodes))
            sys.exit(0)
    time.sleep(0.3)
sys.exit(1)
PY
}

captions=(
  "Taliven万年历[荐]" "塔利文起名大师[荐]" "塔利文周公解梦" "塔利文生肖配对" "星座运势速查" "姓名笔画测算"
  "黄道吉日查询" "手机号码吉凶" "车牌号码测算" "血型性格分析" "八字五行查询" "电话号码测吉" "生日密码解读"
  "桌面便签(推荐)" "系统清理(推荐)" "看图助手(推荐)" "压缩工具(推荐)"
)
nodes=$(tree "${captions[-1]}") || fail "the program's accessibility tree never named its last link"
links=$(awk -F'\t' '$1 == "link" {print $2}' <<<"$nodes")
expected=$(printf '%s\n' "${captions[@]}")
[[ $links == "$expected" ]] || fail "the links the tree names are not the 17 captions in order:"$'\n'"$links"
for caption in "${captions[@]}"; do
  grep -qxF "label"$'\t'"$caption" <<<"$nodes" && fail "\"$caption\" is also named as a plain label"
done
echo "accessible links: the 17 link labels are links named by their captions"

main=$(xdotool search --sync --onlyvisible --name '^Taliven$' | head -n 1)
xdotool mousemove --window "$main" 577 102 click 1  # 关于系统, x 537 + 40, bar at 84 + 8 + 10
nodes=$(tree "support@taliven.example") || fail "the about window's e-mail address never showed in the tree"
grep -qxF "link"$'\t'"support@taliven.example" <<<"$nodes" || fail "the e-mail address is not a link"
echo "accessible links: PASS"
