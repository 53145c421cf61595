# Sourced by scripts/test.sh: a private CUPS spooler for the printing test.
#
# cups_start runs its own cupsd with its own configuration, spool, cache,
# state, logs and output under one temporary folder, listening only on a
# socket there. Its one queue "TVPDF" is a file: device behind a small PPD
# that passes the PDF through, so the whole spooler path is real without any
# system backend or configuration. CUPS_SERVER points the test processes at
# it; TORVANE_CUPS_OUTPUT names the file the queue writes. Nothing under /etc
# changes, no running spooler is touched, and cups_stop removes everything.
# Where cupsd cannot start, both variables stay unset and the printing test
# skips with the reason (TORVANE_CUPS_SKIP_REASON).
CUPSD_PID=
CUPS_TMP=
cups_skip() {
  export TORVANE_CUPS_SKIP_REASON="$1"
  echo "== CUPS: $1; the printing test will skip"
}
cups_start() {
  local cupsd=/usr/sbin/cupsd
  if [ ! -x "$cupsd" ]; then
    cupsd=$(command -v cupsd 2>/dev/null || true)
  fi
  if [ -z "$cupsd" ] || [ ! -x "$cupsd" ]; then
    cups_skip "cupsd is not installed"; return 0
  fi
  if ! command -v lpadmin >/dev/null 2>&1 || ! command -v lpstat >/dev/null 2>&1; then
    cups_skip "the CUPS client programs are not installed"; return 0
  fi
  local serverbin=/usr/lib/cups
  if [ ! -x "$serverbin/filter/gziptoany" ]; then
    cups_skip "the CUPS filter gziptoany is missing"; return 0
  fi
  CUPS_TMP=$(mktemp -d /tmp/torvane-cups.XXXXXX)
  # Filters run as the spooler's unprivileged user: they must reach the
  # spool and write the output.
  chmod 755 "$CUPS_TMP"
  mkdir -p "$CUPS_TMP"/{conf,conf/ppd,spool,spool/tmp,cache,state,log,out}
  chmod 1777 "$CUPS_TMP/out" "$CUPS_TMP/spool/tmp"
  local socket="$CUPS_TMP/cups.sock"
  cat >"$CUPS_TMP/conf/cups-files.conf" <<CONF
ServerRoot $CUPS_TMP/conf
RequestRoot $CUPS_TMP/spool
TempDir $CUPS_TMP/spool/tmp
CacheDir $CUPS_TMP/cache
StateDir $CUPS_TMP/state
ServerBin $serverbin
DataDir /usr/share/cups
AccessLog $CUPS_TMP/log/access_log
ErrorLog $CUPS_TMP/log/error_log
PageLog $CUPS_TMP/log/page_log
FileDevice Yes
CONF
  cat >"$CUPS_TMP/conf/cupsd.conf" <<CONF
Listen $socket
LogLevel warn
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
DefaultShared No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  # A queue that takes PDF and hands it on unchanged.
  cat >"$CUPS_TMP/tvpdf.ppd" <<'PPD'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "TVPDF.PPD"
*Manufacturer: "Test"
*Product: "(PDF pass-through)"
*ModelName: "PDF pass-through"
*ShortNickName: "PDF pass-through"
*NickName: "PDF pass-through"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.2
*cupsFilter2: "application/pdf application/pdf 0 gziptoany"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageSize A3/A3: "<</PageSize[842 1191]/ImagingBBox null>>setpagedevice"
*PageSize B5/JIS B5: "<</PageSize[516 729]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]/ImagingBBox null>>setpagedevice"
*PageRegion A3/A3: "<</PageSize[842 1191]/ImagingBBox null>>setpagedevice"
*PageRegion B5/JIS B5: "<</PageSize[516 729]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*ImageableArea A3/A3: "0 0 842 1191"
*ImageableArea B5/JIS B5: "0 0 516 729"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension A3/A3: "842 1191"
*PaperDimension B5/JIS B5: "516 729"
PPD
  "$cupsd" -f -c "$CUPS_TMP/conf/cupsd.conf" -s "$CUPS_TMP/conf/cups-files.conf" \
    >"$CUPS_TMP/log/cupsd.out" 2>&1 &
  CUPSD_PID=$!
  local up=
  for _ in $(seq 100); do
    if CUPS_SERVER=$socket lpstat -r 2>/dev/null | grep -q 'is running'; then up=1; break; fi
    kill -0 "$CUPSD_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [ -z "$up" ]; then
    local why
    why=$(tail -n 3 "$CUPS_TMP/log/cupsd.out" "$CUPS_TMP/log/error_log" 2>/dev/null | tr '\n' ' ')
    cups_stop
    cups_skip "the private cupsd did not start ($why)"; return 0
  fi
  local output="$CUPS_TMP/out/job.pdf"
  if ! CUPS_SERVER=$socket lpadmin -p TVPDF -E -v "file://$output" -P "$CUPS_TMP/tvpdf.ppd" \
      >"$CUPS_TMP/log/lpadmin.out" 2>&1 ||
     ! CUPS_SERVER=$socket lpadmin -d TVPDF >>"$CUPS_TMP/log/lpadmin.out" 2>&1; then
    local why
    why=$(grep -v -i deprecated "$CUPS_TMP/log/lpadmin.out" | tr '\n' ' ')
    cups_stop
    cups_skip "the private queue could not be made ($why)"; return 0
  fi
  export CUPS_SERVER=$socket
  export TORVANE_CUPS_OUTPUT=$output
  unset TORVANE_CUPS_SKIP_REASON
  echo "== CUPS: private spooler on $socket; queue TVPDF writes $output"
}
cups_stop() {
  if [ -n "$CUPSD_PID" ]; then
    kill -TERM "$CUPSD_PID" 2>/dev/null || true
    while kill -0 "$CUPSD_PID" 2>/dev/null; do sleep 0.1; done
    CUPSD_PID=
  fi
  if [ -n "$CUPS_TMP" ]; then
    rm -rf "$CUPS_TMP"
    CUPS_TMP=
  fi
  unset CUPS_SERVER TORVANE_CUPS_OUTPUT
}
