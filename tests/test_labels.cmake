# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
# The labels of the GoogleTest tests, read by ctest once a program's tests are
# listed: zevra_core_test (tests/CMakeLists.txt) sets zevra_label_program and
# zevra_label_tests and includes this file. A test gets its program's label
# and every topic whose pattern finds its name, so a test keeps its labels
# when it moves to another program. Tests that are not GoogleTest cases get
# theirs where they are added (windows, fuzz replays, package, LibreOffice).
#
# Select with `ctest -L <label>`:
#   model, report, batch, golden   the program the test is in
#   number      number formats and parsing, kilometres, the locale's separators
#   validation  validation of the input
#   cli         runs zevra-cli
#   batchio     a batch file loaded, run, written as HTML
#   external    runs LibreOffice, tidy or the package tools (skipped without them)
#   locale      number, validation, cli, batchio and every window test: rerun by
#               scripts/test under Czech and German locales
#   window, fuzz, package   set beside those tests

# topic, pattern of test names
set(zevra_topics
  number     "NumberFormat|Parsing|Kilometres|LocaleSeparator"
  validation "Validat"
  cli        "Cli"
  batchio    "RunTest|LoadTest|HtmlTest"
  external   "^LibreOfficeRoundTrip\\.|^WorkbookTest\\.(CalcReads|AwkwardNames)|^HtmlTest\\.ResultPassesTheHtmlChecker$|^CliBatchTest\\.ShippedExamples$")
set(zevra_locale_topics number validation cli batchio)
set(zevra_libreoffice_pattern "^LibreOfficeRoundTrip\\.|^WorkbookTest\\.(CalcReads|AwkwardNames)")

foreach(zevra_test IN LISTS zevra_label_tests)
  set(zevra_labels ${zevra_label_program})
  set(zevra_rest ${zevra_topics})
  while(zevra_rest)
    list(POP_FRONT zevra_rest zevra_topic zevra_pattern)
    if(zevra_test MATCHES "${zevra_pattern}")
      list(APPEND zevra_labels ${zevra_topic})
    endif()
  endwhile()
  # A program may be named after a topic (zevra_cli_tests: cli).
  foreach(zevra_topic IN LISTS zevra_locale_topics)
    list(FIND zevra_labels ${zevra_topic} zevra_found)
    if(NOT zevra_found EQUAL -1)
      list(APPEND zevra_labels locale)
      break()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES zevra_labels)
  set_tests_properties("${zevra_test}" PROPERTIES LABELS "${zevra_labels}")
  # Two LibreOffice processes starting at once have been seen to abort at
  # start-up: the tests that run it take their turn.
  if(zevra_test MATCHES "${zevra_libreoffice_pattern}")
    set_tests_properties("${zevra_test}" PROPERTIES RESOURCE_LOCK libreoffice)
  endif()
endforeach()
