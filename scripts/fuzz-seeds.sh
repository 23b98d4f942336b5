# Sourced by the scripts that fuzz. Real skin containers for the targets that read them, made
# here so that no binary file is kept in the tree: the INI seeds packed in each container version,
# and for the skin definition read also the shipped skins with their images, decompressed (that
# target reads containers as they are once decompressed). Needs build/app/vardo-skin and the
# shipped skins in build/app/Skins.
vardo_fuzz_seeds() { # target, corpus folder, fuzz build folder
    local name="$1" corpus="$2" fuzz_build="$3" version packed skin
    mkdir -p "$corpus"
    case "$name" in
    fuzz_skin_reader) packed="$corpus" ;;
    fuzz_skin_definition) packed="$(mktemp -d)" ;;
    *) return 0 ;;
    esac
    for version in 20000 30000 40000; do
        build/app/vardo-skin pack fuzz/corpus/fuzz_skin_ini "$packed/v$version.skn" \
            --version "$version" >/dev/null
    done
    [ "$name" = fuzz_skin_definition ] || return 0
    cp build/app/Skins/*.skn "$packed/"
    for skin in "$packed"/*.skn; do
        "$fuzz_build/fuzz/skin_container" "$skin" "$corpus/$(basename "$skin" .skn).container"
    done
    rm -r "$packed"
}
