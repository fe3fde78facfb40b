# Sourced by the screenshot scripts: stops with what to install when a tool they drive is missing.
for tool in xvfb-run xdotool import openbox; do
  command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install xvfb xdotool imagemagick openbox)" >&2; exit 1; }
done
