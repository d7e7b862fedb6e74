# The translations: one gettext catalogue per language, po/<language>.po, the languages listed
# in po/LINGUAS. Each is checked and compiled with msgfmt into bin/locale/<language>/
# LC_MESSAGES/corvalin.mo, beside the programs that read it; a catalogue msgfmt -c refuses
# fails the build. The template po/corvalin.pot is made from the sources by the target
# corvalin-pot, which also merges it into every catalogue.

find_program(MSGFMT msgfmt REQUIRED)
find_program(XGETTEXT xgettext REQUIRED)
find_program(MSGMERGE msgmerge REQUIRED)
find_program(MSGCAT msgcat REQUIRED)
find_program(PO4A_UPDATEPO po4a-updatepo REQUIRED)
find_program(PO4A_TRANSLATE po4a-translate REQUIRED)
find_program(PERL perl REQUIRED)

set(CORVALIN_PO_DIR ${PROJECT_SOURCE_DIR}/po)
set(CORVALIN_LOCALE_DIR ${CMAKE_BINARY_DIR}/bin/locale)
file(STRINGS ${CORVALIN_PO_DIR}/LINGUAS CORVALIN_LANGUAGES REGEX "^[^#]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CORVALIN_PO_DIR}/LINGUAS)

set(catalogues)
foreach(language IN LISTS CORVALIN_LANGUAGES)
    set(mo ${CORVALIN_LOCALE_DIR}/${language}/LC_MESSAGES/corvalin.mo)
    add_custom_command(OUTPUT ${mo}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CORVALIN_LOCALE_DIR}/${language}/LC_MESSAGES
        COMMAND ${MSGFMT} --check --output-file=${mo} ${CORVALIN_PO_DIR}/${language}.po
        DEPENDS ${CORVALIN_PO_DIR}/${language}.po
        COMMENT "Compiling the ${language} catalogue"
        VERBATIM)
    list(APPEND catalogues ${mo})
endforeach()
add_custom_target(corvalin_catalogues ALL DEPENDS ${catalogues})
add_dependencies(corvalin corvalin_catalogues)
add_dependencies(corvalin-dat corvalin_catalogues)

# The marks xgettext looks for: the core's Tr, TrN, TrC, TrMark and TrMarkN, the Qt side's QTr
# and QTrN, and the skin generator's PaintedLabel (the labels it paints, in their own context). Their placeholders are Qt's %1, %2 (Substitute in the core) and %n, which msgfmt -c
# checks in every translation.
set(CORVALIN_XGETTEXT_OPTIONS
    --from-code=UTF-8 --language=C++ --qt --add-comments=TRANSLATORS:
    --keyword= --keyword=Tr --keyword=TrN:1,2 --keyword=TrC:1c,2
    --keyword=QTr --keyword=QTrN:1,2 --keyword=TrMark --keyword=TrMarkN:1,2
    --keyword=PaintedLabel:1c,2 --flag=Tr:1:qt-format --flag=TrC:2:qt-format
    --flag=TrN:1:qt-format --flag=TrN:2:qt-format --flag=TrMark:1:qt-format
    --flag=TrMarkN:1:qt-format --flag=TrMarkN:2:qt-format --flag=QTr:1:qt-format
    --flag=QTrN:1:qt-plural-format --flag=QTrN:2:qt-plural-format --package-name=Corvalin --package-version=${PROJECT_VERSION}
    --msgid-bugs-address=support@corvalin.example)
set(CORVALIN_SOURCE_GLOBS src/*.cpp src/*.h tools/corvalin-dat/*.cpp tools/corvalin-dat/*.h
    tools/assetgen/*.cpp tools/assetgen/*.h)
# The manual pages, whose paragraphs po4a puts into the same catalogues.
set(CORVALIN_MANUALS debian/corvalin.6 debian/corvalin-dat.1)
# What ExtractTexts.cmake needs, for the targets here and the tests; the lists' semicolons are
# escaped, so that each list stays one argument.
string(REPLACE ";" "\\;" escaped_options "${CORVALIN_XGETTEXT_OPTIONS}")
string(REPLACE ";" "\\;" escaped_globs "${CORVALIN_SOURCE_GLOBS}")
string(REPLACE ";" "\\;" escaped_manuals "${CORVALIN_MANUALS}")
set(CORVALIN_EXTRACT_ARGUMENTS -DSOURCE=${PROJECT_SOURCE_DIR} -DXGETTEXT=${XGETTEXT}
    -DMSGCAT=${MSGCAT} -DPO4A_UPDATEPO=${PO4A_UPDATEPO} "-DOPTIONS=${escaped_options}"
    "-DGLOBS=${escaped_globs}" "-DMANUALS=${escaped_manuals}")

# The template as the sources stand, for the tests.
list(TRANSFORM CORVALIN_SOURCE_GLOBS PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE globs)
file(GLOB_RECURSE marked_sources CONFIGURE_DEPENDS ${globs})
list(TRANSFORM CORVALIN_MANUALS PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE manuals)
set(CORVALIN_TEXTS_TEMPLATE ${CMAKE_BINARY_DIR}/po/corvalin.pot)
add_custom_command(OUTPUT ${CORVALIN_TEXTS_TEMPLATE}
    COMMAND ${CMAKE_COMMAND} ${CORVALIN_EXTRACT_ARGUMENTS} -DOUTPUT=${CORVALIN_TEXTS_TEMPLATE}
            -P ${CMAKE_CURRENT_LIST_DIR}/ExtractTexts.cmake
    DEPENDS ${marked_sources} ${manuals} ${CMAKE_CURRENT_LIST_DIR}/ExtractTexts.cmake
    COMMENT "Extracting the player's texts"
    VERBATIM)
add_custom_target(corvalin_texts_template DEPENDS ${CORVALIN_TEXTS_TEMPLATE})

add_custom_target(corvalin-pot
    COMMAND ${CMAKE_COMMAND} ${CORVALIN_EXTRACT_ARGUMENTS} -DMSGMERGE=${MSGMERGE}
            -DOUTPUT=${CORVALIN_PO_DIR}/corvalin.pot "-DLANGUAGES=${CORVALIN_LANGUAGES}" -DMERGE=ON
            -P ${CMAKE_CURRENT_LIST_DIR}/ExtractTexts.cmake
    COMMENT "Extracting the player's texts into po/corvalin.pot and merging the catalogues"
    VERBATIM)

# The manual pages in every language, into man/<language>/: po4a-translate puts each
# catalogue's translations into the roff source, markup and all. Every paragraph is translated
# (catalogues_are_complete), so no threshold leaves a page out (-k 0). This po4a reads neither
# msgctxt nor plural forms, so it is given each catalogue cut down to the manuals' texts.
set(CORVALIN_MANUALS_DIR ${CMAKE_BINARY_DIR}/man)
set(manual_texts ${CORVALIN_MANUALS_DIR}/manuals.pot)
add_custom_command(OUTPUT ${manual_texts}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CORVALIN_MANUALS_DIR}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${manual_texts}
    COMMAND ${PO4A_UPDATEPO} --format man --master-charset UTF-8 -m "$<JOIN:${manuals},;-m;>"
            --po ${manual_texts}
    DEPENDS ${manuals}
    COMMAND_EXPAND_LISTS
    VERBATIM)
set(translated_manuals)
foreach(language IN LISTS CORVALIN_LANGUAGES)
    set(texts ${CORVALIN_MANUALS_DIR}/${language}/texts.po)
    add_custom_command(OUTPUT ${texts}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CORVALIN_MANUALS_DIR}/${language}
        COMMAND ${MSGMERGE} --quiet --no-fuzzy-matching --output-file=${texts}
                ${CORVALIN_PO_DIR}/${language}.po ${manual_texts}
        DEPENDS ${CORVALIN_PO_DIR}/${language}.po ${manual_texts}
        VERBATIM)
    foreach(manual IN LISTS CORVALIN_MANUALS)
        get_filename_component(name ${manual} NAME)
        set(translated ${CORVALIN_MANUALS_DIR}/${language}/${name})
        add_custom_command(OUTPUT ${translated}
            COMMAND ${CMAKE_COMMAND} -DPO4A_TRANSLATE=${PO4A_TRANSLATE} -DPERL=${PERL}
                    -DMASTER=${PROJECT_SOURCE_DIR}/${manual} -DPO=${texts} -DOUTPUT=${translated}
                    -P ${CMAKE_CURRENT_LIST_DIR}/TranslateManual.cmake
            DEPENDS ${PROJECT_SOURCE_DIR}/${manual} ${texts}
                    ${CMAKE_CURRENT_LIST_DIR}/TranslateManual.cmake
                    ${CMAKE_CURRENT_LIST_DIR}/CjkManualBreaks.pl
            COMMENT "Translating ${name} into ${language}"
            VERBATIM)
        list(APPEND translated_manuals ${translated})
    endforeach()
endforeach()
add_custom_target(corvalin_manuals ALL DEPENDS ${translated_manuals})

# The desktop entry and the metainfo, with every catalogue's translations merged in by msgfmt
# (which reads the languages from po/LINGUAS). The entry keeps its @CORVALIN_DESKTOP_EXEC@ for
# the install to fill in.
set(CORVALIN_DESKTOP_TEMPLATE ${CMAKE_BINARY_DIR}/data/example.corvalin.corvalin.desktop.in)
set(CORVALIN_METAINFO ${CMAKE_BINARY_DIR}/data/example.corvalin.corvalin.metainfo.xml)
set(po_files)
foreach(language IN LISTS CORVALIN_LANGUAGES)
    list(APPEND po_files ${CORVALIN_PO_DIR}/${language}.po)
endforeach()
foreach(merge "--desktop;${CORVALIN_DESKTOP_TEMPLATE}" "--xml;${CORVALIN_METAINFO}")
    list(GET merge 0 mode)
    list(GET merge 1 merged)
    get_filename_component(name ${merged} NAME)
    add_custom_command(OUTPUT ${merged}
        COMMAND ${MSGFMT} ${mode} --template=${PROJECT_SOURCE_DIR}/data/${name}
                -d ${CORVALIN_PO_DIR} -o ${merged}
        DEPENDS ${PROJECT_SOURCE_DIR}/data/${name} ${po_files} ${CORVALIN_PO_DIR}/LINGUAS
        COMMENT "Merging the translations into ${name}"
        VERBATIM)
endforeach()
add_custom_target(corvalin_translated_data ALL
    DEPENDS ${CORVALIN_DESKTOP_TEMPLATE} ${CORVALIN_METAINFO})
