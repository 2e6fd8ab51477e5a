// The corpus of IDE-written projects: every project loads, and its project,
// target, target-name and switch lines are what the files say. The table was
// written from reading the files (line and byte dumps), one entry per project
// file; descriptions follow the image-type tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "project/projecttree.h"
#include "tests/support/tempdir.h"

namespace {

struct TargetExpectation {
    const char* label;
    const char* targetName;  // nullptr: the target node stays bare
    std::vector<std::string> debugSwitches;
    std::vector<std::string> releaseSwitches;
};

struct ProjectExpectation {
    const char* path;  // relative to the corpus folder
    const char* label;
    std::vector<TargetExpectation> targets;
};

// clang-format off
const std::vector<ProjectExpectation> kProjects = {
    {"333brain333__time_to_LB/noname.wpj",
     "Project: noname [noname.wpj]",
     {
         {"Target: noname  Windows NT character mode executable (32-bit Executable) [noname.tgt]", "noname.exe",
          {},
          {}},
     }},
    {"Dmytri-Kosenko__fort77/labaprog.wpj",
     "Project: labaprog [labaprog.wpj]",
     {
         {"Target: labaprog  Windows NT character mode executable (32-bit Executable) [labaprog.tgt]", "labaprog.exe",
          {},
          {}},
     }},
    {"Dmytri-Kosenko__fort77/test.wpj",
     "Project: test [test.wpj]",
     {
         {"Target: test  Windows NT character mode executable (32-bit Executable) [test.tgt]", "test.exe",
          {},
          {}},
     }},
    {"K1MDD__dos_tetris/tetris.wpj",
     "Project: tetris [tetris.wpj]",
     {
         {"Target: tetris  DOS .exe file (16-bit Executable) [tetris.tgt]", "tetris.exe",
          {},
          {}},
     }},
    {"Magnetic-Fox__LibraryTesting-WinAPI/noname.wpj",
     "Project: noname [noname.wpj]",
     {
         {"Target: noname  Windows 3.x (16-bit Executable) [noname.tgt]", "noname.exe",
          {},
          {}},
     }},
    {"Magnetic-Fox__Old-Watcom-Projects/ASCIIConverter/ASCIIConverter.wpj",
     "Project: ASCIIConverter [ASCIIConverter.wpj]",
     {
         {"Target: ASCIIConverter  DOS .com file (16-bit Executable) [ASCIIConverter.tgt]", "ASCIIConverter.com",
          {},
          {}},
     }},
    {"Magnetic-Fox__Old-Watcom-Projects/Charmap_DOS/Charmap_DOS.wpj",
     "Project: Charmap_DOS [Charmap_DOS.wpj]",
     {
         {"Target: Charmap_DOS  DOS .com file (16-bit Executable) [Charmap_DOS.tgt]", "Charmap_DOS.com",
          {},
          {}},
     }},
    {"Magnetic-Fox__Old-Watcom-Projects/Eksperyment6/Eksperyment6.wpj",
     "Project: Eksperyment6 [Eksperyment6.wpj]",
     {
         {"Target: Eksperyment6  DOS .com file (16-bit Executable) [Eksperyment6.tgt]", "Eksperyment6.com",
          {},
          {}},
     }},
    {"Magnetic-Fox__Old-Watcom-Projects/FoxCodeConverter_DOS/FoxCodeConverter.wpj",
     "Project: FoxCodeConverter [FoxCodeConverter.wpj]",
     {
         {"Target: FoxCodeConverter  DOS .com file (16-bit Executable) [FoxCodeConverter.tgt]", "FoxCodeConverter.com",
          {},
          {}},
     }},
    {"Magnetic-Fox__PaintTest-WinAPI/grphtest.wpj",
     "Project: grphtest [grphtest.wpj]",
     {
         {"Target: grphtest  Windows 3.x (16-bit Executable) [grphtest.tgt]", "grphtest.exe",
          {},
          {}},
     }},
    {"Magnetic-Fox__SimpleNoter/SimpleNoter.wpj",
     "Project: SimpleNoter [SimpleNoter.wpj]",
     {
         {"Target: SimpleNoter  Windows 3.x (16-bit Executable) [SimpleNoter.tgt]", "SimpleNoter.exe",
          {},
          {}},
     }},
    {"Magnetic-Fox__TestLibrary-WinAPI/testlib2.wpj",
     "Project: testlib2 [testlib2.wpj]",
     {
         {"Target: testlib2  Windows 3.x (16-bit Dll) [testlib2.tgt]", "testlib2.dll",
          {},
          {}},
     }},
    {"Magnetic-Fox__UnBZip2-Watcom/smplebz2.wpj",
     "Project: smplebz2 [smplebz2.wpj]",
     {
         {"Target: smplebz2  Windows 3.x (16-bit Executable) [smplebz2.tgt]", "smplebz2.exe",
          {},
          {}},
     }},
    {"Magnetic-Fox__WinAPI-Tests/WinAPI_test.wpj",
     "Project: WinAPI_test [WinAPI_test.wpj]",
     {
         {"Target: WinAPI_test  Windows 3.x (16-bit Executable) [WinAPI_test.tgt]", "WinAPI_test.exe",
          {},
          {}},
     }},
    {"Miasta-creators__Cities-dos/noname.wpj",
     "Project: noname [noname.wpj]",
     {
         {"Target: miasta  DOS .exe file (16-bit Executable) [miasta.tgt]", "miasta.exe",
          {},
          {}},
     }},
    {"NickDoom-IDKFA__TwoStickKeyboard/test.wpj",
     "Project: test [test.wpj]",
     {
         {"Target: test  Windows NT character mode executable (32-bit Executable) [test.tgt]", "test.exe",
          {},
          {}},
     }},
    {"OS2World__DEV-SAMPLES-WATCOM-wat2msc/WAT2MSC.WPJ",
     "Project: WAT2MSC [WAT2MSC.WPJ]",
     {
         {"Target: wat2msc  OS/2 PM Compatible (32-bit Executable) [wat2msc.tgt]", "wat2msc.exe",
          {},
          {}},
     }},
    {"OS2World__DRV-MBeep/test.wpj",
     "Project: test [test.wpj]",
     {
         {"Target: test  OS/2 PM Compatible (32-bit Executable) [test.tgt]", "test.exe",
          {},
          {}},
     }},
    {"OS2World__DRV-WFASTIO/test.wpj",
     "Project: test [test.wpj]",
     {
         {"Target: test  OS/2 PM Compatible (32-bit Executable) [test.tgt]", "test.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\os2;j:\\temp\\old;j:\\rtd;"},
          {}},
     }},
    {"PopovEvgeniy__eugenegdk/source/camera.wpj",
     "Project: camera [camera.wpj]",
     {
         {"Target: camera  Windows NT character mode executable (32-bit Executable) [camera.tgt]", "camera.exe",
          {},
          {}},
     }},
    {"PopovEvgeniy__eugenegdk/source/demo.wpj",
     "Project: demo [demo.wpj]",
     {
         {"Target: demo  Windows NT character mode executable (32-bit Executable) [demo.tgt]", "demo.exe",
          {},
          {}},
     }},
    {"PopovEvgeniy__eugenegdk/source/isometric.wpj",
     "Project: isometric [isometric.wpj]",
     {
         {"Target: isometric  Windows NT character mode executable (32-bit Executable) [isometric.tgt]", "isometric.exe",
          {},
          {}},
     }},
    {"PopovEvgeniy__eugenegdk/source/parallax.wpj",
     "Project: parallax [parallax.wpj]",
     {
         {"Target: parallax  Windows NT character mode executable (32-bit Executable) [parallax.tgt]", "parallax.exe",
          {},
          {}},
     }},
    {"PopovEvgeniy__eugenegdk/source/tilemap.wpj",
     "Project: tilemap [tilemap.wpj]",
     {
         {"Target: tilemap  Windows NT character mode executable (32-bit Executable) [tilemap.tgt]", "tilemap.exe",
          {},
          {}},
     }},
    {"PopovEvgeniy__neongdk/source/camera.wpj",
     "Project: camera [camera.wpj]",
     {
         {"Target: camera  Windows NT character mode executable (32-bit Executable) [camera.tgt]", "camera.exe",
          {},
          {}},
     }},
    {"PopovEvgeniy__neongdk/source/demo.wpj",
     "Project: demo [demo.wpj]",
     {
         {"Target: demo  Windows NT character mode executable (32-bit Executable) [demo.tgt]", "demo.exe",
          {},
          {}},
     }},
    {"PopovEvgeniy__neongdk/source/isometric.wpj",
     "Project: isometric [isometric.wpj]",
     {
         {"Target: isometric  Windows NT character mode executable (32-bit Executable) [isometric.tgt]", "isometric.exe",
          {},
          {}},
     }},
    {"PopovEvgeniy__neongdk/source/parallax.wpj",
     "Project: parallax [parallax.wpj]",
     {
         {"Target: parallax  Windows NT character mode executable (32-bit Executable) [parallax.tgt]", "parallax.exe",
          {},
          {}},
     }},
    {"PopovEvgeniy__neongdk/source/tilemap.wpj",
     "Project: tilemap [tilemap.wpj]",
     {
         {"Target: tilemap  Windows NT character mode executable (32-bit Executable) [tilemap.tgt]", "tilemap.exe",
          {},
          {}},
     }},
    {"PyotrSpetcnaz__lab4/noname.wpj",
     "Project: noname [noname.wpj]",
     {
         {"Target: noname  Windows NT character mode executable (32-bit Executable) [noname.tgt]", "noname.exe",
          {},
          {}},
     }},
    {"Sarix1__DOS-ENGINE-1-ARCHIVED/DOSENG.WPJ",
     "Project: DOSENG [DOSENG.WPJ]",
     {
         {"Target: DOSENG  DOS .exe file (16-bit Executable) [DOSENG.tgt]", "DOSENG.exe",
          {},
          {}},
     }},
    {"Sarix1__DOS-ENGINE-4/engine.wpj",
     "Project: engine [engine.wpj]",
     {
         {"Target: engine  DOS Rational DOS 4G (32-bit Executable) [engine.tgt]", "engine.exe",
          {},
          {}},
     }},
    {"WWelna__MuppetHunt/noname.wpj",
     "Project: noname [noname.wpj]",
     {
         {"Target: muppet  DOS .com file (16-bit Executable) [muppet.tgt]", "muppet.com",
          {},
          {}},
     }},
    {"ifknot__DOS/hello.wpj",
     "Project: hello [hello.wpj]",
     {
         {"Target: hello  DOS .exe file (16-bit Executable) [hello.tgt]", "hello.exe",
          {},
          {}},
     }},
    {"ifknot__DOS-8087-Playground/NPX16.wpj",
     "Project: NPX16 [NPX16.wpj]",
     {
         {"Target: NPX16  DOS .exe file (16-bit Executable) [NPX16.tgt]", "NPX16.exe",
          {},
          {}},
     }},
    {"ifknot__DOS-retrolib/retrolib.wpj",
     "Project: retrolib [retrolib.wpj]",
     {
         {"Target: retrolib  DOS .exe file (16-bit Executable) [retrolib.tgt]", "retrolib.exe",
          {},
          {}},
     }},
    {"ifknot__DOS-retrolife/gamelife.wpj",
     "Project: gamelife [gamelife.wpj]",
     {
         {"Target: gamelife  DOS .exe file (16-bit Executable) [gamelife.tgt]", "gamelife.exe",
          {},
          {}},
     }},
    {"ifknot__DOS/CODE/dos16.wpj",
     "Project: dos16 [dos16.wpj]",
     {
         {"Target: test  DOS .exe file (16-bit Executable) [test.tgt]", "test.exe",
          {},
          {}},
     }},
    {"ifknot__RETROLIB/src/retrolib.wpj",
     "Project: retrolib [retrolib.wpj]",
     {
         {"Target: retrolib", nullptr,
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/src/os2.wpj",
     "Project: os2 [os2.wpj]",
     {
         {"Target: button  OS/2 (32-bit Library) [button.tgt]", "button.lib",
          {},
          {}},
         {"Target: drawos2  OS/2 PM (32-bit Executable) [drawos2.tgt]", "drawos2.exe",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/src/win.wpj",
     "Project: win [win.wpj]",
     {
         {"Target: draw16  Windows 3.x (16-bit Executable) [draw16.tgt]", "draw16.exe",
          {"(WRC) Include directories: \"..;$(%watcom)/h;$(%watcom)/h/win\""},
          {}},
         {"Target: button  Windows 3.x (16-bit Library) [button.tgt]", "button.lib",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/src/win32.wpj",
     "Project: win32 [win32.wpj]",
     {
         {"Target: draw32  Windows NT windowed executable (32-bit Executable) [draw32.tgt]", "draw32.exe",
          {},
          {}},
         {"Target: button  Windows NT (32-bit Library) [button.tgt]", "button.lib",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/src/win386.wpj",
     "Project: win386 [win386.wpj]",
     {
         {"Target: draw  Windows 3.x (32-bit Executable) [draw.tgt]", "draw.exe",
          {"(WRC) Include directories: \"..;$(%watcom)/h;$(%watcom)/h/win\""},
          {}},
         {"Target: button  Windows 3.x (32-bit Library) [button.tgt]", "button.lib",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/src/fortran/os2.wpj",
     "Project: os2 [os2.wpj]",
     {
         {"Target: button  OS/2 (32-bit Library) [button.tgt]", "button.lib",
          {},
          {}},
         {"Target: drawos2  OS/2 PM (32-bit Executable) [drawos2.tgt]", "drawos2.exe",
          {"(ORC) Include directories: ..\\.. $(%WATCOM)\\h $(%WATCOM)\\h\\os2"},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/src/fortran/win.wpj",
     "Project: win [win.wpj]",
     {
         {"Target: draw16  Windows 3.x (16-bit Executable) [draw16.tgt]", "draw16.exe",
          {},
          {}},
         {"Target: button  Windows 3.x (16-bit Library) [button.tgt]", "button.lib",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/src/fortran/win32.wpj",
     "Project: win32 [win32.wpj]",
     {
         {"Target: draw32  Windows NT windowed executable (32-bit Executable) [draw32.tgt]", "draw32.exe",
          {},
          {}},
         {"Target: button  Windows NT (32-bit Library) [button.tgt]", "button.lib",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/src/fortran/win386.wpj",
     "Project: win386 [win386.wpj]",
     {
         {"Target: draw  Windows 3.x (32-bit Executable) [draw.tgt]", "draw.exe",
          {},
          {}},
         {"Target: button  Windows 3.x (32-bit Library) [button.tgt]", "button.lib",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/threed/threednt.wpj",
     "Project: threednt [threednt.wpj]",
     {
         {"Target: nt_3d  Windows NT (32-bit Dll) [nt_3d.tgt]", "nt_3d.dll",
          {},
          {"(WCC) Include directories: \"$(%watcom)/h;$(%watcom)/h/nt;$(watcom_dir)/h;$(wpi_dir)/h;\""}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/threed/threedo2.wpj",
     "Project: threedo2 [threedo2.wpj]",
     {
         {"Target: os2_3d  OS/2 (32-bit Dll) [os2_3d.tgt]", "os2_3d.dll",
          {},
          {"(WCC) Include directories: \"$(%watcom)/h;$(%watcom)/h/os2;$(watcom_dir)/h;$(wpi_dir)/h;\""}},
     }},
    {"open-watcom__open-watcom-v2/bld/idedemo/threed/threedwi.wpj",
     "Project: threedwi [threedwi.wpj]",
     {
         {"Target: win_3d  Windows 3.x (16-bit Dll) [win_3d.tgt]", "win_3d.dll",
          {},
          {"(WCC) Include directories: \"$(%watcom)/h;$(%watcom)/h/win;$(watcom_dir)/h;$(wpi_dir)/h;\""}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/mswin.wpj",
     "Project: mswin [mswin.wpj]",
     {
         {"Target: alarm  Windows 3.x (16-bit Executable) [alarm.tgt]", "alarm.exe",
          {},
          {}},
         {"Target: alarm  Windows NT windowed executable (32-bit Executable) [alarm.tgt]", "alarm.exe",
          {},
          {}},
         {"Target: alarm  Windows 3.x (32-bit Executable) [alarm.tgt]", "alarm.exe",
          {},
          {}},
         {"Target: testctl  Windows 3.x (16-bit Executable) [testctl.tgt]", "testctl.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: testctl  Windows NT windowed executable (32-bit Executable) [testctl.tgt]", "testctl.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
         {"Target: testctl  Windows 3.x (32-bit Executable) [testctl.tgt]", "testctl.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: edit  Windows 3.x (16-bit Executable) [edit.tgt]", "edit.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: edit  Windows NT windowed executable (32-bit Executable) [edit.tgt]", "edit.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
         {"Target: edit  Windows 3.x (32-bit Executable) [edit.tgt]", "edit.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: generic  Windows 3.x (16-bit Executable) [generic.tgt]", "generic.exe",
          {},
          {}},
         {"Target: generic  Windows NT windowed executable (32-bit Executable) [generic.tgt]", "generic.exe",
          {},
          {}},
         {"Target: generic  Windows 3.x (32-bit Executable) [generic.tgt]", "generic.exe",
          {},
          {}},
         {"Target: helpex  Windows 3.x (16-bit Executable) [helpex.tgt]", "helpex.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: helpex  Windows NT windowed executable (32-bit Executable) [helpex.tgt]", "helpex.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
         {"Target: helpex  Windows 3.x (32-bit Executable) [helpex.tgt]", "helpex.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: view  Windows 3.x (16-bit Executable) [view.tgt]", "view.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: view  Windows NT windowed executable (32-bit Executable) [view.tgt]", "view.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
         {"Target: view  Windows 3.x (32-bit Executable) [view.tgt]", "view.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: life  Windows 3.x (16-bit Executable) [life.tgt]", "life.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: life  Windows NT windowed executable (32-bit Executable) [life.tgt]", "life.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
         {"Target: life  Windows 3.x (32-bit Executable) [life.tgt]", "life.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: shootgal  Windows 3.x (16-bit Executable) [shootgal.tgt]", "shootgal.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: shootgal  Windows NT windowed executable (32-bit Executable) [shootgal.tgt]", "shootgal.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
         {"Target: shootgal  Windows 3.x (32-bit Executable) [shootgal.tgt]", "shootgal.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: watzee  Windows 3.x (16-bit Executable) [watzee.tgt]", "watzee.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
         {"Target: watzee  Windows NT windowed executable (32-bit Executable) [watzee.tgt]", "watzee.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
         {"Target: watzee  Windows 3.x (32-bit Executable) [watzee.tgt]", "watzee.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/alarm/win16/alarm.wpj",
     "Project: alarm [alarm.wpj]",
     {
         {"Target: alarm  Windows 3.x (16-bit Executable) [alarm.tgt]", "alarm.exe",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/alarm/win32/alarm.wpj",
     "Project: alarm [alarm.wpj]",
     {
         {"Target: alarm  Windows NT windowed executable (32-bit Executable) [alarm.tgt]", "alarm.exe",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/alarm/win386/alarm.wpj",
     "Project: alarm [alarm.wpj]",
     {
         {"Target: alarm  Windows 3.x (32-bit Executable) [alarm.tgt]", "alarm.exe",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/datactl/win16/datactl.wpj",
     "Project: datactl [datactl.wpj]",
     {
         {"Target: testctl  Windows 3.x (16-bit Executable) [testctl.tgt]", "testctl.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/datactl/win32/datactl.wpj",
     "Project: datactl [datactl.wpj]",
     {
         {"Target: testctl  Windows NT windowed executable (32-bit Executable) [testctl.tgt]", "testctl.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/datactl/win386/datactl.wpj",
     "Project: datactl [datactl.wpj]",
     {
         {"Target: testctl  Windows 3.x (32-bit Executable) [testctl.tgt]", "testctl.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/edit/win16/edit.wpj",
     "Project: edit [edit.wpj]",
     {
         {"Target: edit  Windows 3.x (16-bit Executable) [edit.tgt]", "edit.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/edit/win32/edit.wpj",
     "Project: edit [edit.wpj]",
     {
         {"Target: edit  Windows NT windowed executable (32-bit Executable) [edit.tgt]", "edit.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/edit/win386/edit.wpj",
     "Project: edit [edit.wpj]",
     {
         {"Target: edit  Windows 3.x (32-bit Executable) [edit.tgt]", "edit.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/generic/win16/generic.wpj",
     "Project: generic [generic.wpj]",
     {
         {"Target: generic  Windows 3.x (16-bit Executable) [generic.tgt]", "generic.exe",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/generic/win32/generic.wpj",
     "Project: generic [generic.wpj]",
     {
         {"Target: generic  Windows NT windowed executable (32-bit Executable) [generic.tgt]", "generic.exe",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/generic/win386/generic.wpj",
     "Project: generic [generic.wpj]",
     {
         {"Target: generic  Windows 3.x (32-bit Executable) [generic.tgt]", "generic.exe",
          {},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/helpex/win16/helpex.wpj",
     "Project: helpex [helpex.wpj]",
     {
         {"Target: helpex  Windows 3.x (16-bit Executable) [helpex.tgt]", "helpex.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/helpex/win32/helpex.wpj",
     "Project: helpex [helpex.wpj]",
     {
         {"Target: helpex  Windows NT windowed executable (32-bit Executable) [helpex.tgt]", "helpex.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/helpex/win386/helpex.wpj",
     "Project: helpex [helpex.wpj]",
     {
         {"Target: helpex  Windows 3.x (32-bit Executable) [helpex.tgt]", "helpex.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/iconview/win16/iconview.wpj",
     "Project: iconview [iconview.wpj]",
     {
         {"Target: view  Windows 3.x (16-bit Executable) [view.tgt]", "view.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/iconview/win32/iconview.wpj",
     "Project: iconview [iconview.wpj]",
     {
         {"Target: view  Windows NT windowed executable (32-bit Executable) [view.tgt]", "view.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/iconview/win386/iconview.wpj",
     "Project: iconview [iconview.wpj]",
     {
         {"Target: view  Windows 3.x (32-bit Executable) [view.tgt]", "view.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/life/win16/life.wpj",
     "Project: life [life.wpj]",
     {
         {"Target: life  Windows 3.x (16-bit Executable) [life.tgt]", "life.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/life/win32/life.wpj",
     "Project: life [life.wpj]",
     {
         {"Target: life  Windows NT windowed executable (32-bit Executable) [life.tgt]", "life.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/life/win386/life.wpj",
     "Project: life [life.wpj]",
     {
         {"Target: life  Windows 3.x (32-bit Executable) [life.tgt]", "life.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/shootgal/win16/shootgal.wpj",
     "Project: shootgal [shootgal.wpj]",
     {
         {"Target: shootgal  Windows 3.x (16-bit Executable) [shootgal.tgt]", "shootgal.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/shootgal/win32/shootgal.wpj",
     "Project: shootgal [shootgal.wpj]",
     {
         {"Target: shootgal  Windows NT windowed executable (32-bit Executable) [shootgal.tgt]", "shootgal.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/shootgal/win386/shootgal.wpj",
     "Project: shootgal [shootgal.wpj]",
     {
         {"Target: shootgal  Windows 3.x (32-bit Executable) [shootgal.tgt]", "shootgal.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/watzee/win16/watzee.wpj",
     "Project: watzee [watzee.wpj]",
     {
         {"Target: watzee  Windows 3.x (16-bit Executable) [watzee.tgt]", "watzee.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/watzee/win32/watzee.wpj",
     "Project: watzee [watzee.wpj]",
     {
         {"Target: watzee  Windows NT windowed executable (32-bit Executable) [watzee.tgt]", "watzee.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\nt;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/src/win/watzee/win386/watzee.wpj",
     "Project: watzee [watzee.wpj]",
     {
         {"Target: watzee  Windows 3.x (32-bit Executable) [watzee.tgt]", "watzee.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\win;..\\..", "(WRC) Include directories: $[:;$(%watcom)\\h;$(%watcom)\\h\\win;..\\.."},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/threads/pthreads/pthreads.wpj",
     "Project: pthreads [pthreads.wpj]",
     {
         {"Target: pthread  Windows NT (32-bit Library) [pthread.tgt]", "pthread.lib",
          {"(WCC) Include directories: \"$(%watcom)/h;$(%watcom)/h/nt;../h\""},
          {}},
         {"Target: pthread  OS/2 (32-bit Library) [pthread.tgt]", "pthread.lib",
          {"(WCC) Include directories: \"$(%watcom)/h;$(%watcom)/h/os2;..\\h\""},
          {}},
         {"Target: check  Windows NT character mode executable (32-bit Executable) [check.tgt]", "check.exe",
          {"(WCC) Include directories: \"$(%watcom)/h;$(%watcom)/h/nt;..\\..\\h\""},
          {}},
         {"Target: check  OS/2 PM Compatible (32-bit Executable) [check.tgt]", "check.exe",
          {"(WCC) Include directories: \"$(%watcom)/h;$(%watcom)/h/os2;..\\..\\h\""},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/threads/threads/threads.wpj",
     "Project: threads [threads.wpj]",
     {
         {"Target: threads  Windows NT (32-bit Library) [threads.tgt]", "threads.lib",
          {},
          {}},
         {"Target: threads  OS/2 (32-bit Library) [threads.tgt]", "threads.lib",
          {},
          {}},
         {"Target: check  Windows NT character mode executable (32-bit Executable) [check.tgt]", "check.exe",
          {"(WCC) Include directories: \"$(%watcom)/h;$(%watcom)/h/nt;../../h\""},
          {}},
         {"Target: check  OS/2 PM Compatible (32-bit Executable) [check.tgt]", "check.exe",
          {"(WCC) Include directories: \"$(%watcom)/h;$(%watcom)/h/os2;../../h\""},
          {}},
     }},
    {"open-watcom__open-watcom-v2/bld/wasm/ide/wasm.wpj",
     "Project: wasm [wasm.wpj]",
     {
         {"Target: wasm  Windows NT character mode executable (32-bit Executable) [wasm.tgt]", "wasm.exe",
          {"(WCC) Include directories: ..\\h;..\\..\\womp\\h;..\\..\\watcom\\h;..\\..\\trmem;..\\..\\wres\\h;..\\..\\fe_misc\\h;..\\..\\wres\\h;$(%watcom)\\h;$(%watcom)\\h\\nt"},
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;.;..\\h;..\\..\\womp\\h;..\\..\\watcom\\h;..\\..\\trmem"}},
     }},
    {"open-watcom__open-watcom-v2/docs/LJ/hello.wpj",
     "Project: hello [hello.wpj]",
     {
         {"Target: hello  Unknown [hello.tgt]", "hello.elf",
          {},
          {}},
     }},
    {"open-watcom__owp4v1copy/bld/src/win/generic/win32/generic.wpj",
     "Project: generic [generic.wpj]",
     {
         {"Target: generic  Windows NT windowed executable (32-bit Executable) [generic.tgt]", "generic.exe",
          {},
          {}},
     }},
    {"open-watcom__owp4v1copy/bld/wasm/ide/wasm.wpj",
     "Project: wasm [wasm.wpj]",
     {
         {"Target: wasm  Windows NT character mode executable (32-bit Executable) [wasm.tgt]", "wasm.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;..\\h;..\\..\\womp\\h;..\\..\\watcom\\h;..\\..\\trmem;..\\..\\sdk\\rc\\wres\\h"},
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;.;..\\h;..\\..\\womp\\h;..\\..\\watcom\\h;..\\..\\trmem"}},
     }},
    {"schani__stools-sel/stools.wpj",
     "Project: stools [stools.wpj]",
     {
         {"Target: stools  DOS (16-bit Library) [stools.tgt]", "stools.lib",
          {"(WCC) Include directories: \"$(%watcom)/h\" \"include\""},
          {}},
         {"Target: test  DOS .exe file (16-bit Executable) [test.tgt]", "test.exe",
          {"(WCC) Include directories: \"$(%watcom)/h\" \"include\""},
          {}},
     }},
    {"schani__stools-sel/test.wpj",
     "Project: test [test.wpj]",
     {
         {"Target: test  DOS .exe file (16-bit Executable) [test.tgt]", "test.exe",
          {"(WCC) Include directories: \"$(%watcom)/h\" \"include\""},
          {}},
         {"Target: stools  DOS (16-bit Library) [stools.tgt]", "stools.lib",
          {"(WCC) Include directories: \"$(%watcom)/h\" \"include\""},
          {}},
     }},
    {"schani__stools-sel/testnt.wpj",
     "Project: testnt [testnt.wpj]",
     {
         {"Target: stoolsnt  Windows NT (32-bit Library) [stoolsnt.tgt]", "stoolsnt.lib",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;d:\\programm\\bc31\\stools\\include"},
          {}},
         {"Target: testnt  Windows NT character mode executable (32-bit Executable) [testnt.tgt]", "testnt.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt;d:\\programm\\bc31\\stools\\include"},
          {}},
     }},
    {"schani__stools-sel/sthc/sthc.wpj",
     "Project: sthc [sthc.wpj]",
     {
         {"Target: sthc  OS/2 PM Compatible (32-bit Executable) [sthc.tgt]", "sthc.exe",
          {"(WCC) Include directories: $(%watcom)\\h;$(%watcom)\\h\\os2;d:\\programm\\bc31\\stools\\include"},
          {}},
         {"Target: stools", nullptr,
          {},
          {}},
     }},
};
// clang-format on

std::vector<std::string> ChildLabels(const WTreeStore& tree, WTreeItem parent) {
    std::vector<std::string> labels;
    for (WTreeItem child = tree.FirstChild(parent); child != kNoItem;
         child = tree.NextSibling(child)) {
        labels.emplace_back(tree.Label(child));
    }
    return labels;
}

WTreeItem ChildLabelled(const WTreeStore& tree, WTreeItem parent, std::string_view label) {
    for (WTreeItem child = tree.FirstChild(parent); child != kNoItem;
         child = tree.NextSibling(child)) {
        if (tree.Label(child) == label) {
            return child;
        }
    }
    return kNoItem;
}

void ExpectTarget(const WTreeStore& tree, WTreeItem target, const TargetExpectation& expected) {
    EXPECT_EQ(tree.Label(target), expected.label);
    if (expected.targetName == nullptr) {
        EXPECT_EQ(ChildLabels(tree, target), std::vector<std::string>{});
        return;
    }
    EXPECT_EQ(tree.Label(tree.FirstChild(target)), std::string("Target Name: ") + expected.targetName);
    EXPECT_EQ(ChildLabels(tree, ChildLabelled(tree, target, "Debug Switches")),
              expected.debugSwitches);
    EXPECT_EQ(ChildLabels(tree, ChildLabelled(tree, target, "Release Switches")),
              expected.releaseSwitches);
}

class CorpusTest : public testing::Test {
protected:
    void SetUp() override {
        corpus_ = CorpusFolder();
        if (corpus_.empty()) {
            GTEST_SKIP() << "the corpus of IDE-written files is not there (../shared/corpus)";
        }
    }
    std::string corpus_;
};

TEST_F(CorpusTest, EveryProjectFileIsInTheTable) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus_)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (entry.is_regular_file() && extension == ".wpj") {
            found.push_back(std::filesystem::relative(entry.path(), corpus_).generic_string());
        }
    }
    std::vector<std::string> listed;
    for (const ProjectExpectation& project : kProjects) {
        listed.emplace_back(project.path);
    }
    std::sort(found.begin(), found.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(found, listed);
}

TEST_F(CorpusTest, ProjectsShowTheirTargetsNamesAndSwitches) {
    for (const ProjectExpectation& expected : kProjects) {
        SCOPED_TRACE(expected.path);
        HostFs fs;
        WTreeStore tree;
        const std::string path = corpus_ + "/" + expected.path;
        ASSERT_EQ(LoadProject(tree, WFilePath(std::string_view(path)), fs, ParseLiterals::Off,
                              DependencyScan()),
                  true);
        const WTreeItem project = tree.FirstRoot();
        EXPECT_EQ(tree.Label(project), expected.label);
        std::size_t index = 0;
        for (WTreeItem target = tree.FirstChild(project); target != kNoItem;
             target = tree.NextSibling(target), ++index) {
            ASSERT_LT(index, expected.targets.size());
            SCOPED_TRACE(expected.targets[index].label);
            ExpectTarget(tree, target, expected.targets[index]);
        }
        EXPECT_EQ(index, expected.targets.size());
    }
}

}  // namespace
