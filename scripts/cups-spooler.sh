# Sourced by scripts/test.sh: a private CUPS spooler with a cups-pdf queue
# "PDF" as the default printer, for the printing test. Sets
# TORVANE_CUPS_PDF_OUT to the folder the queue writes its PDFs to; leaves it
# unset (the test then skips and says why) when no spooler can be started.
CUPSD_PID=
cups_start() {
  if ! command -v cupsd >/dev/null 2>&1 && [ ! -x /usr/sbin/cupsd ]; then
    echo "== CUPS: cupsd is not installed; the printing test will skip"; return 0
  fi
  local out=/tmp/torvane-cups-pdf
  mkdir -p "$out"
  if [ -w /etc/cups/cups-pdf.conf ]; then
    sed -i "s|^#\?Out .*|Out $out/\${USER}|" /etc/cups/cups-pdf.conf
  fi
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    /usr/sbin/cupsd -f & CUPSD_PID=$!
    for _ in $(seq 100); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.05; done
  fi
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    echo "== CUPS: cupsd did not start; the printing test will skip"; return 0
  fi
  lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd \
    -o TitlePref=1 -o pdftops-renderer-default=pdftocairo 2>/dev/null || true
  lpadmin -d PDF 2>/dev/null || true
  cancel -a PDF 2>/dev/null || true
  export TORVANE_CUPS_PDF_OUT="$out/$(id -un)"
  mkdir -p "$TORVANE_CUPS_PDF_OUT"
  echo "== CUPS: queue PDF writes to $TORVANE_CUPS_PDF_OUT"
}
cups_stop() {
  if [ -n "$CUPSD_PID" ]; then
    kill -TERM "$CUPSD_PID" 2>/dev/null || true
    while kill -0 "$CUPSD_PID" 2>/dev/null; do sleep 0.1; done
    CUPSD_PID=
  fi
}
