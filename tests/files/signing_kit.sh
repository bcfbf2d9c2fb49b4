# Helpers for the tests of signing, sourced: a throw-away certificate chain and signed setup programs
# made from the build's own files without compiling anything again.
#
#   sk_make_chain DIR     DIR/root.crt (a CA), DIR/leaf.crt + DIR/leaf.key (code signing, RSA),
#                         DIR/other.key (an RSA key of no certificate), DIR/ec.crt + DIR/ec.key (ECDSA)
#   sk_signed_setup DIR ARCH SCR OUT   signs a copy of SCR and makes the ARCH setup OUT from it with the
#                         uninstaller and the setup signed, as the build does (needs KOVAREN_SOURCE_DIR,
#                         KOVAREN_RELEASE)
#   sk_verifies ROOT FILE    true when FILE's signature verifies against ROOT
#   sk_unsigned FILE         true when FILE carries no signature at all

sk_openssl() { openssl "$@" >/dev/null 2>&1; }

sk_make_chain() {
  local dir=$1
  sk_openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kovaren test root" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
    -keyout "$dir/root.key" -out "$dir/root.crt" &&
    sk_openssl req -newkey rsa:2048 -nodes -subj "/CN=Kovaren test signer" -keyout "$dir/leaf.key" -out "$dir/leaf.csr" &&
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$dir/leaf.ext" &&
    sk_openssl x509 -req -in "$dir/leaf.csr" -CA "$dir/root.crt" -CAkey "$dir/root.key" -CAcreateserial -days 2 \
      -extfile "$dir/leaf.ext" -out "$dir/leaf-only.crt" &&
    cat "$dir/leaf-only.crt" "$dir/root.crt" >"$dir/leaf.crt" &&
    sk_openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$dir/other.key" &&
    sk_openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 2 -subj "/CN=Kovaren EC" \
      -keyout "$dir/ec.key" -out "$dir/ec.crt"
}

sk_sign() { bash "$KOVAREN_SOURCE_DIR/packaging/windows/sign_file.sh" "$1/leaf.crt" "$1/leaf.key" "$2"; }

sk_signed_setup() {
  local dir=$1 arch=$2 scr=$3 out=$4
  mkdir -p "$dir/$arch" && cp "$scr" "$dir/$arch/Kovaren.scr" && sk_sign "$dir" "$dir/$arch/Kovaren.scr" &&
    makensis -V4 -DARCH="$arch" -DSCR_FILE="$dir/$arch/Kovaren.scr" -DOUT_FILE="$out" -DVERSION="$KOVAREN_RELEASE" \
      -DVERSION_QUAD=1.0.0.0 -DSIGN_TOOL="$KOVAREN_SOURCE_DIR/packaging/windows/sign_file.sh" \
      -DSIGN_CERT="$dir/leaf.crt" -DSIGN_KEY="$dir/leaf.key" -DSIGN_TIMESTAMP= \
      "$KOVAREN_SOURCE_DIR/packaging/windows/kovaren.nsi" >"$dir/makensis-$arch.log" 2>&1
}

sk_verifies() { osslsigncode verify -CAfile "$1" -in "$2" >/dev/null 2>&1; }
sk_unsigned() { osslsigncode verify -in "$1" 2>&1 | grep -q "No signature found"; }
