# Sourced by the scripts that fuzz. Real skin containers for the targets that read them, made
# here: the hand-written INI seeds (the *.ini files among the skin INI target's inputs) packed in
# each container version, and for the skin definition read also the shipped skins with their
# images, decompressed (that target reads containers as they are once decompressed). Needs
# build/app/vardo-skin and the shipped skins in build/app/Skins.
vardo_fuzz_seeds() { # target, corpus folder, fuzz build folder
    local name="$1" corpus="$2" fuzz_build="$3" work version packed skin
    mkdir -p "$corpus"
    case "$name" in
    fuzz_skin_reader | fuzz_skin_definition) ;;
    *) return 0 ;;
    esac
    work="$(mktemp -d)"
    mkdir "$work/ini" "$work/packed"
    cp fuzz/corpus/fuzz_skin_ini/*.ini "$work/ini/"
    packed="$work/packed"
    [ "$name" = fuzz_skin_definition ] || packed="$corpus"
    for version in 20000 30000 40000; do
        build/app/vardo-skin pack "$work/ini" "$packed/v$version.skn" --version "$version" >/dev/null
    done
    if [ "$name" = fuzz_skin_definition ]; then
        cp build/app/Skins/*.skn "$packed/"
        for skin in "$packed"/*.skn; do
            "$fuzz_build/fuzz/skin_container" "$skin" "$corpus/$(basename "$skin" .skn).container"
        done
    fi
    rm -r "$work"
}
