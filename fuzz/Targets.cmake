# The fuzz targets and the libraries each needs, read by the fuzz project (clang, libFuzzer) and
# by the normal build, which feeds the inputs kept under regressions/ to the same targets.
set(brenvik_fuzz_targets
  fuzz_wave_opener fuzz_loop_source_scan fuzz_track_sizes fuzz_loop_description
  fuzz_manifest fuzz_loop_check fuzz_cli_arguments fuzz_audio_convert)
set(fuzz_wave_opener_libs brenvik_formats)
set(fuzz_loop_source_scan_libs brenvik_formats)
set(fuzz_track_sizes_libs brenvik_formats)
set(fuzz_loop_description_libs brenvik_formats)
set(fuzz_manifest_libs brenvik_backup)
set(fuzz_loop_check_libs brenvik_card brenvik_cli)
set(fuzz_cli_arguments_libs brenvik_cli)
set(fuzz_audio_convert_libs brenvik_convert)
