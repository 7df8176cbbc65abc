# Sourced by the set-up and test scripts: phase_done NAME prints how long the
# phase that just ended took, so a slow one shows in every log.
phase_mark=${phase_mark:-$(date +%s)}
phase_done() {
  local now
  now=$(date +%s)
  echo "phase $1: $(( now - phase_mark )) s"
  phase_mark=$now
}
