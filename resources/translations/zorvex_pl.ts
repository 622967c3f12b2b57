<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- The words of Qt's own dialogs that Qt's Polish catalogue (qtbase_pl.qm) lacks: the
     program loads this after Qt's, so these win. Contexts and source texts are Qt's,
     exactly; CMake compiles this file with lrelease into the program. -->
<TS version="2.1" language="pl_PL">
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Pages</source>
        <translation>Strony</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>Strony lub zakresy stron oddzielone przecinkami; zakres to dwie liczby połączone łącznikiem. Np. 3,5-7,9 drukuje strony 3, 5, 6, 7 i 9.</translation>
    </message>
    <message>
        <source>Double Sided Printing</source>
        <translation>Druk dwustronny</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Wyłączony</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Zszycie wzdłuż dłuższej krawędzi</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Zszycie wzdłuż krótszej krawędzi</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>Nieprawidłowy zakres stron</translation>
    </message>
    <message>
        <source>%1 does not follow the correct syntax. Please use &apos;,&apos; to separate ranges and pages, &apos;-&apos; to define ranges and make sure ranges do not intersect with each other.</source>
        <translation>„%1” nie jest prawidłowym zakresem stron. Strony i zakresy oddziel przecinkami, zakres zapisz jako dwie liczby połączone łącznikiem (np. 5-7); zakresy nie mogą na siebie zachodzić.</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>Niektóre opcje wykluczają się nawzajem. Popraw je.</translation>
    </message>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>Sprzeczne ustawienia druku dwustronnego</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>Ustawienia druku dwustronnego wykluczają się nawzajem. Czy chcesz je poprawić?</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>Sprzeczne ustawienia strony</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>Ustawienia strony wykluczają się nawzajem. Czy chcesz je poprawić?</translation>
    </message>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>Sprzeczne opcje zaawansowane</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>Niektóre opcje zaawansowane wykluczają się nawzajem. Czy chcesz je poprawić?</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Advanced</source>
        <translation>Zaawansowane</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>Niektóre opcje wykluczają się nawzajem. Popraw je.</translation>
    </message>
</context>
</TS>
