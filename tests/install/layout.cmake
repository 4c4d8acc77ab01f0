# Installs the build into a staging folder (DESTDIR) and checks the layout: the executable, the
# shipped files, the desktop entry, the icon and the AppStream metainfo. Then the staged program,
# on a machine without any font, creates a shop in the user's data folder and prints a report
# with the fonts it ships. Run by CTest with BUILD_DIR, STAGE and APP_ID.
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${code}):\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

function(expect_file path)
  if(NOT EXISTS ${STAGE}/usr/${path})
    message(FATAL_ERROR "missing from the installation: /usr/${path}")
  endif()
endfunction()

file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr)
unset(ENV{DESTDIR})

set(shipped share/quorvane)
foreach(path bin/quorvane
             ${shipped}/Reports/Bill.rpt "${shipped}/Reports/Sales Tax.rpt" ${shipped}/Help/index.html
             ${shipped}/EmpPics/defaultPic.jpg ${shipped}/quorvane.ini.example
             ${shipped}/fonts/LiberationSans-Regular.ttf ${shipped}/fonts/LiberationSans-Bold.ttf
             ${shipped}/fonts/LICENSE.txt
             share/applications/${APP_ID}.desktop share/metainfo/${APP_ID}.metainfo.xml
             share/icons/hicolor/scalable/apps/${APP_ID}.svg)
  expect_file("${path}")
endforeach()
file(GLOB layouts ${STAGE}/usr/${shipped}/Reports/*.rpt)
list(LENGTH layouts count)
if(NOT count EQUAL 10)
  message(FATAL_ERROR "expected the 10 report layouts, found ${count}")
endif()

run(desktop-file-validate ${STAGE}/usr/share/applications/${APP_ID}.desktop)
run(appstreamcli validate --no-net ${STAGE}/usr/share/metainfo/${APP_ID}.metainfo.xml)

# A user's first start: no font on the machine, no shop yet, data under a fresh home.
set(home ${STAGE}/home)
file(MAKE_DIRECTORY ${home})
file(WRITE ${home}/fonts.conf "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>${home}/fc</cachedir></fontconfig>\n")
set(ENV{FONTCONFIG_FILE} ${home}/fonts.conf)
set(ENV{HOME} ${home})
set(ENV{XDG_DATA_HOME} ${home}/data)
set(ENV{XDG_CONFIG_HOME} ${home}/config)
set(ENV{QT_QPA_PLATFORM} offscreen)
set(program ${STAGE}/usr/bin/quorvane)
run(${program} --create-database --demo --admin-password demo-admin)
set(shop ${home}/data/Quorvane)
foreach(path helpdesk-e.mdb Reports/Bill.rpt Help/index.html EmpPics/defaultPic.jpg)
  if(NOT EXISTS ${shop}/${path})
    message(FATAL_ERROR "the new shop lacks ${path}")
  endif()
endforeach()

run(${program} --report "Sales Tax.rpt" --pdf ${home}/tax.pdf)
run(pdffonts ${home}/tax.pdf)
foreach(face LiberationSans LiberationSans-Bold)
  if(NOT output MATCHES "(^|\n|[+])${face} ")
    message(FATAL_ERROR "the report does not use the shipped ${face}:\n${output}")
  endif()
endforeach()
