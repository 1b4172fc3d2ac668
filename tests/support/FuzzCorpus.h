// The fuzzers' corpora under fuzz/corpus, seen from the suites: the seeds the program writes itself, and
// every input replayed as the fuzzer reads it, so that an input that once failed stays a test.
#pragma once

#include <string>

// Expects fuzz/corpus/<corpus>/seed-<name> to hold exactly the bytes, so that a change to what the
// program writes shows up as a seed to write again; with QUILLORY_WRITE_CORPUS=1 in the environment it
// writes them there instead.
void ExpectCorpusSeed(const std::string& corpus, const std::string& name, const std::string& bytes);

// Reads every input of the object-file corpus as a user's document, through the class numbering of
// documents as this test program registers it, as the object-file fuzzer does.
void ReplayObjectFileCorpus();
