# The fuzz targets: fuzz/fuzz_<name>.cpp each define LLVMFuzzerTestOneInput;
# fuzz/corpus/<name>/ holds the seed corpus with the regression inputs.
set(ORVALO3_FUZZ_TARGETS rawmidifile lzhuff mfxheader mp3header metasong indexsonginfo indexload)
set(ORVALO3_FUZZ_LIBS songfiles index Qt5::Core)
