# Turns the deb entries apt reads (one-line .list files and deb822 .sources files) into deb-src
# lines for the suites of one Debian release (-v codename=bookworm), keeping each entry's mirror
# and keyring, so the sources come from where this machine's binary packages come from.

function wanted(suite) {
  return suite == codename || index(suite, codename "-") == 1
}

function emit(options, uri, suite, components) {
  if (wanted(suite))
    print "deb-src " (options != "" ? "[" options "] " : "") uri " " suite " " components
}

# A deb822 stanza may list several URIs and suites; each pair is one source.
function flush_stanza(   nu, ns, u, s, uri_list, suite_list) {
  if (types ~ /(^| )deb( |$)/ && tolower(enabled) != "no") {
    nu = split(uris, uri_list, " ")
    ns = split(suites, suite_list, " ")
    for (u = 1; u <= nu; u++)
      for (s = 1; s <= ns; s++)
        emit(signed_by != "" ? "signed-by=" signed_by : "", uri_list[u], suite_list[s], components)
  }
  types = uris = suites = components = signed_by = enabled = ""
}

FNR == 1 { flush_stanza() }

FILENAME ~ /\.sources$/ {
  if ($0 ~ /^[ \t]*$/) { flush_stanza(); next }
  # Comments, and the continuation lines of a key written into the file, carry nothing we use.
  if ($0 ~ /^#/ || $0 ~ /^[ \t]/) next
  colon = index($0, ":")
  field = tolower(substr($0, 1, colon - 1))
  value = substr($0, colon + 1)
  gsub(/^[ \t]+|[ \t]+$/, "", value)
  if (field == "types") types = value
  else if (field == "uris") uris = value
  else if (field == "suites") suites = value
  else if (field == "components") components = value
  else if (field == "enabled") enabled = value
  # Only a keyring file can go into a one-line entry; without it apt falls back to its trusted keys.
  else if (field == "signed-by" && value ~ /^\//) signed_by = value
  next
}

$1 == "deb" {
  options = ""
  i = 2
  if ($i ~ /^\[/) {
    options = $i
    while ($i !~ /\]$/) options = options " " $(++i)
    gsub(/^\[|\]$/, "", options)
    i++
  }
  rest = ""
  for (j = i + 2; j <= NF && $j !~ /^#/; j++) rest = rest (rest != "" ? " " : "") $j
  emit(options, $i, $(i + 1), rest)
}

END { flush_stanza() }
