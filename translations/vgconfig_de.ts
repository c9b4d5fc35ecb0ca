<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>vg::AboutBox</name>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Version:  </source>
        <translation>Version:  </translation>
    </message>
    <message>
        <source>Fieldbus mode talks to the built-in simulated unit unless a driver is chosen under Options &gt; Communication.</source>
        <translation>Im Feldbusbetrieb spricht das Programm mit dem eingebauten simulierten Steuergerät, solange unter Optionen &gt; Kommunikation kein Treiber gewählt ist.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>vg::Artwork</name>
    <message>
        <source>Tool monitoring:
configuration and diagnosis</source>
        <translation>Werkzeugüberwachung:
Konfiguration und Diagnose</translation>
    </message>
</context>
<context>
    <name>vg::BusyWindow</name>
    <message>
        <source>RunTime-Define!</source>
        <translation>Laufzeit-Definition!</translation>
    </message>
</context>
<context>
    <name>vg::CommunicationDialog</name>
    <message>
        <source>Communication</source>
        <translation>Kommunikation</translation>
    </message>
    <message>
        <source>Communication Layer</source>
        <translation>Kommunikationsweg</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Seriell</translation>
    </message>
    <message>
        <source>Profibus Device Address</source>
        <translation>Profibus-Geräteadresse</translation>
    </message>
    <message>
        <source>Serial COM-Port</source>
        <translation>Serieller COM-Port</translation>
    </message>
    <message>
        <source>&amp;Device for this port:</source>
        <translation>&amp;Gerät für diesen Port:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>(no %1 on this machine)</source>
        <translation>(kein %1 auf diesem Rechner)</translation>
    </message>
</context>
<context>
    <name>vg::CoreTexts</name>
    <message>
        <source>ERROR! Cable broken!</source>
        <translation>FEHLER! Kabelbruch!</translation>
    </message>
    <message>
        <source>ERROR! Scanner!</source>
        <translation>FEHLER! Scanner!</translation>
    </message>
    <message>
        <source>ERROR! Control Unit!</source>
        <translation>FEHLER! Steuergerät!</translation>
    </message>
    <message>
        <source>ERROR! Wand!</source>
        <translation>FEHLER! Taststab!</translation>
    </message>
    <message>
        <source>ERROR! Angle!</source>
        <translation>FEHLER! Winkel!</translation>
    </message>
    <message>
        <source>ERROR! Control Word!</source>
        <translation>FEHLER! Steuerwort!</translation>
    </message>
    <message>
        <source>ERROR! Selected Tool not programmed!</source>
        <translation>FEHLER! Werkzeug nicht programmiert!</translation>
    </message>
    <message>
        <source>ERROR! No external teach allowed!</source>
        <translation>FEHLER! Externes Einlernen gesperrt!</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Scannen</translation>
    </message>
    <message>
        <source>Zero-Pos.</source>
        <translation>Nullpos.</translation>
    </message>
    <message>
        <source>Id: --------</source>
        <translation>ID: --------</translation>
    </message>
    <message>
        <source> Outs:</source>
        <translation> Ausg.:</translation>
    </message>
    <message>
        <source>Reading data from VGL. Please wait ...</source>
        <translation>Daten werden aus dem VGL gelesen. Bitte warten ...</translation>
    </message>
    <message>
        <source>Sending data to VGL. Please wait ...</source>
        <translation>Daten werden an das VGL gesendet. Bitte warten ...</translation>
    </message>
    <message>
        <source>Reading back data from VGL. Please wait ...</source>
        <translation>Daten werden aus dem VGL zurückgelesen. Bitte warten ...</translation>
    </message>
    <message>
        <source>Status: Busy ....</source>
        <translation>Status: In Arbeit ....</translation>
    </message>
    <message>
        <source>Printing Data!  Please wait ....!</source>
        <translation>Daten werden gedruckt!  Bitte warten ....!</translation>
    </message>
    <message>
        <source>No Namespace-Information in VG.Module found!</source>
        <translation>Keine Namespace-Information im VG-Modul gefunden!</translation>
    </message>
    <message>
        <source>No Namespace-Identifier available!
Toolnames will be lost! 
Would you enter the namespace-identifier?</source>
        <translation>Keine Namespace-Kennung vorhanden!
Die Werkzeugnamen gehen verloren! 
Möchten Sie die Namespace-Kennung eingeben?</translation>
    </message>
    <message>
        <source>Values out of range; nothing was sent to the unit:</source>
        <translation>Werte außerhalb des Bereichs; es wurde nichts an das Steuergerät gesendet:</translation>
    </message>
    <message>
        <source>Save Data to VGL successfull!</source>
        <translation>Daten erfolgreich im VGL gespeichert!</translation>
    </message>
    <message>
        <source>File save successfull!</source>
        <translation>Datei erfolgreich gespeichert!</translation>
    </message>
    <message>
        <source>Error in Namespace-File</source>
        <translation>Fehler in der Namespace-Datei</translation>
    </message>
    <message>
        <source>Error in Parameter-File</source>
        <translation>Fehler in der Parameterdatei</translation>
    </message>
    <message>
        <source>File Write Error!</source>
        <translation>Fehler beim Schreiben der Datei!</translation>
    </message>
    <message>
        <source>Timeout in Communication to VGL!</source>
        <translation>Zeitüberschreitung bei der Kommunikation mit dem VGL!</translation>
    </message>
    <message>
        <source>Write Error from VGL</source>
        <translation>Schreibfehler vom VGL</translation>
    </message>
    <message>
        <source>Read Error from VGL</source>
        <translation>Lesefehler vom VGL</translation>
    </message>
    <message>
        <source>Syncronisation-Error in communication to VGL</source>
        <translation>Synchronisationsfehler bei der Kommunikation mit dem VGL</translation>
    </message>
    <message>
        <source>Soft-Error!</source>
        <translation>Soft-Error!</translation>
    </message>
    <message>
        <source>No CU_Id available</source>
        <translation>Keine CU_Id vorhanden</translation>
    </message>
    <message>
        <source>Interrupted: the transfer did not finish.</source>
        <translation>Abgebrochen: Die Übertragung wurde nicht beendet.</translation>
    </message>
    <message>
        <source>Konfig-File has illegal size!</source>
        <translation>Die Konfigurationsdatei hat eine unzulässige Größe!</translation>
    </message>
    <message>
        <source>Namespace-File has illegal size!</source>
        <translation>Die Namespace-Datei hat eine unzulässige Größe!</translation>
    </message>
    <message>
        <source>Unit and file are the same.</source>
        <translation>Steuergerät und Datei stimmen überein.</translation>
    </message>
    <message>
        <source>Please enter 8 numeric digits (0..9)!</source>
        <translation>Bitte 8 Ziffern (0..9) eingeben!</translation>
    </message>
    <message>
        <source>Port is not available or occupied by another process.</source>
        <translation>Der Port ist nicht vorhanden oder von einem anderen Prozess belegt.</translation>
    </message>
    <message>
        <source>It is not there: is the adapter plugged in?</source>
        <translation>Es ist nicht vorhanden: Ist der Adapter eingesteckt?</translation>
    </message>
    <message>
        <source>It is in use by another program.</source>
        <translation>Es wird von einem anderen Programm benutzt.</translation>
    </message>
    <message>
        <source>It is not a serial port.</source>
        <translation>Es ist kein serieller Port.</translation>
    </message>
    <message>
        <source>Options &gt; Communication: &quot;Driver...&quot; chooses a driver that loads, &quot;Simulated unit&quot; goes back to the built-in unit.</source>
        <translation>Optionen &gt; Kommunikation: „Treiber...“ wählt einen ladbaren Treiber, „Simuliertes Steuergerät“ kehrt zum eingebauten Steuergerät zurück.</translation>
    </message>
    <message>
        <source>The communication settings apply until the program ends, but could not be saved:</source>
        <translation>Die Kommunikationseinstellungen gelten bis zum Programmende, konnten aber nicht gespeichert werden:</translation>
    </message>
    <message>
        <source>The setting cannot be kept:</source>
        <translation>Die Einstellung kann nicht gespeichert werden:</translation>
    </message>
    <message>
        <source>No values in table!</source>
        <translation>Keine Werte in der Tabelle!</translation>
    </message>
    <message>
        <source>No tool-values in VGL available!</source>
        <translation>Keine Werkzeugwerte im VGL vorhanden!</translation>
    </message>
    <message>
        <source>Please enter filename in the following format: &quot;VGL_iiiiiiii&quot;</source>
        <translation>Bitte den Dateinamen in folgendem Format eingeben: „VGL_iiiiiiii“</translation>
    </message>
    <message>
        <source>The file cannot be read:</source>
        <translation>Die Datei kann nicht gelesen werden:</translation>
    </message>
    <message>
        <source>The trace cannot be written:</source>
        <translation>Der Mitschnitt kann nicht geschrieben werden:</translation>
    </message>
    <message>
        <source>The trace is incomplete:</source>
        <translation>Der Mitschnitt ist unvollständig:</translation>
    </message>
    <message>
        <source>Save programmed data?</source>
        <translation>Programmierte Daten speichern?</translation>
    </message>
    <message>
        <source>The unit could not be read back for checking:</source>
        <translation>Das Steuergerät konnte zur Prüfung nicht zurückgelesen werden:</translation>
    </message>
    <message>
        <source>The unit holds other values than were sent:</source>
        <translation>Das Steuergerät enthält andere Werte als gesendet:</translation>
    </message>
    <message>
        <source>The changed global settings must be saved to Vigilo to activate them!
Would you save it now?

Yes:       Save the data and stay in this &quot;Tool Settings&quot;-sheet
No:        Go back to the &quot;Global Settings&quot;-sheet
Cancel:  Go back to the &quot;Global Settings&quot;-sheet and discard the changes
</source>
        <translation>Die geänderten globalen Einstellungen müssen im Vigilo gespeichert werden, damit sie wirksam werden!
Jetzt speichern?

Ja:              Daten speichern und auf der Seite „Werkzeugeinstellungen“ bleiben
Nein:          Zurück zur Seite „Globale Einstellungen“
Abbrechen:  Zurück zur Seite „Globale Einstellungen“ und die Änderungen verwerfen
</translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation>Der Bericht konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>The report could not be written to</source>
        <translation>Der Bericht konnte nicht gespeichert werden unter</translation>
    </message>
    <message>
        <source>No printer is installed. The report was written to</source>
        <translation>Es ist kein Drucker eingerichtet. Der Bericht wurde gespeichert unter</translation>
    </message>
    <message>
        <source> MeasA.: </source>
        <translation> Messw.: </translation>
    </message>
    <message>
        <source>Id: </source>
        <translation>ID: </translation>
    </message>
    <message>
        <source>Illegal Errornumber: </source>
        <translation>Unzulässige Fehlernummer: </translation>
    </message>
    <message>
        <source>Init Communication failed! ErrorCode=</source>
        <translation>Initialisierung der Kommunikation fehlgeschlagen! Fehlercode=</translation>
    </message>
    <message>
        <source>Device </source>
        <translation>Gerät </translation>
    </message>
    <message>
        <source>angle</source>
        <translation>Winkel</translation>
    </message>
    <message>
        <source>tolerance</source>
        <translation>Toleranz</translation>
    </message>
    <message>
        <source>intensity</source>
        <translation>Intensität</translation>
    </message>
    <message>
        <source>Scanner</source>
        <translation>Scanner</translation>
    </message>
    <message>
        <source>Out1</source>
        <translation>Ausg. 1</translation>
    </message>
    <message>
        <source>Out2</source>
        <translation>Ausg. 2</translation>
    </message>
    <message>
        <source>Out Pulse Time [msec]</source>
        <translation>Ausgangsimpulsdauer [ms]</translation>
    </message>
    <message>
        <source>Return Travel Monitoring</source>
        <translation>Rücklaufüberwachung</translation>
    </message>
    <message>
        <source>Signal Mode</source>
        <translation>Signalmodus</translation>
    </message>
    <message>
        <source>Monitoring</source>
        <translation>Überwachung</translation>
    </message>
    <message>
        <source>Rotation Direction</source>
        <translation>Drehrichtung</translation>
    </message>
    <message>
        <source>Power On Move</source>
        <translation>Bewegung beim Einschalten</translation>
    </message>
    <message>
        <source>Default Angle</source>
        <translation>Standardwinkel</translation>
    </message>
    <message>
        <source>Default Tolerance</source>
        <translation>Standardtoleranz</translation>
    </message>
    <message>
        <source>Default Intensity</source>
        <translation>Standardintensität</translation>
    </message>
    <message>
        <source>Ultra-Low</source>
        <translation>Sehr niedrig</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>N/C Normally Closed</source>
        <translation>N/C Öffner</translation>
    </message>
    <message>
        <source>N/O Normally Open</source>
        <translation>N/O Schließer</translation>
    </message>
    <message>
        <source>Inactive</source>
        <translation>Inaktiv</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>at Home Position</source>
        <translation>in Grundstellung</translation>
    </message>
    <message>
        <source>at Offset Position</source>
        <translation>in Versatzposition</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objekt</translation>
    </message>
    <message>
        <source>Free Space</source>
        <translation>Freiraum</translation>
    </message>
    <message>
        <source>Clockwise</source>
        <translation>im Uhrzeigersinn</translation>
    </message>
    <message>
        <source>Counter-Clockwise</source>
        <translation>gegen den Uhrzeigersinn</translation>
    </message>
    <message>
        <source>programmed</source>
        <translation>programmiert</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>leer</translation>
    </message>
    <message>
        <source>no slot</source>
        <translation>kein Platz</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>gesendet</translation>
    </message>
    <message>
        <source>stored</source>
        <translation>gespeichert</translation>
    </message>
    <message>
        <source>in file</source>
        <translation>in der Datei</translation>
    </message>
    <message>
        <source>in unit</source>
        <translation>im Steuergerät</translation>
    </message>
    <message>
        <source>tool %1:</source>
        <translation>Werkzeug %1:</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Winkel</translation>
    </message>
    <message>
        <source>Tolerance</source>
        <translation>Toleranz</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intensität</translation>
    </message>
    <message>
        <source>Fieldbus driver </source>
        <translation>Feldbustreiber </translation>
    </message>
    <message>
        <source>%1 leads through %2 to %3, which is not there: is the adapter plugged in?</source>
        <translation>%1 führt über %2 zu %3, das nicht vorhanden ist: Ist der Adapter eingesteckt?</translation>
    </message>
    <message>
        <source>%1 was looked for as %2 and as %3; neither is there.</source>
        <translation>%1 wurde als %2 und als %3 gesucht; keines von beiden ist vorhanden.</translation>
    </message>
    <message>
        <source>Members of group %1 may open it: sudo usermod -aG %1 $USER, then log in again.</source>
        <translation>Mitglieder der Gruppe %1 dürfen es öffnen: sudo usermod -aG %1 $USER, danach neu anmelden.</translation>
    </message>
    <message>
        <source>Only its owner, %1, may open it (mode %2).</source>
        <translation>Nur sein Eigentümer, %1, darf es öffnen (Modus %2).</translation>
    </message>
    <message>
        <source>It is in use by another program: %1.</source>
        <translation>Es wird von einem anderen Programm benutzt: %1.</translation>
    </message>
    <message>
        <source>Tool %1: %2 %3 is outside %4 to %5</source>
        <translation>Werkzeug %1: %2 %3 liegt außerhalb von %4 bis %5</translation>
    </message>
    <message>
        <source>%1: %2 is outside 0 or %3 to %4</source>
        <translation>%1: %2 liegt außerhalb von 0 oder %3 bis %4</translation>
    </message>
    <message>
        <source>%1: %2 is outside %3 to %4</source>
        <translation>%1: %2 liegt außerhalb von %3 bis %4</translation>
    </message>
</context>
<context>
    <name>vg::DifferencesWindow</name>
    <message>
        <source>VG-Config / Compare with File / </source>
        <translation>VG-Config / Mit Datei vergleichen / </translation>
    </message>
    <message>
        <source>The unit holds other values than %1 (%2):</source>
        <translation>Das Steuergerät enthält andere Werte als %1 (%2):</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>vg::FieldbusDriverChooser</name>
    <message>
        <source>built-in simulated unit</source>
        <translation>eingebautes simuliertes Steuergerät</translation>
    </message>
    <message>
        <source>  (not there)</source>
        <translation>  (nicht vorhanden)</translation>
    </message>
    <message>
        <source>&amp;Driver...</source>
        <translation>&amp;Treiber...</translation>
    </message>
    <message>
        <source>&amp;Simulated unit</source>
        <translation>&amp;Simuliertes Steuergerät</translation>
    </message>
</context>
<context>
    <name>vg::HelpViewer</name>
    <message>
        <source>ROVOZUZ_E.html</source>
        <extracomment>The help file of this language, beside the English ROVOZUZ_E.html; the English name when there is none.</extracomment>
        <translation>ROVOZUZ_D.html</translation>
    </message>
    <message>
        <source>VG-Config Help</source>
        <translation>VG-Config-Hilfe</translation>
    </message>
    <message>
        <source>&lt;p&gt;The help file %1 is missing.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Die Hilfedatei %1 fehlt.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>vg::IdentifierWindow</name>
    <message>
        <source>Please enter Namespace-Identifier  ...</source>
        <translation>Bitte Namespace-Kennung eingeben  ...</translation>
    </message>
    <message>
        <source>Please enter 8 digits:</source>
        <translation>Bitte 8 Ziffern eingeben:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>vg::LanguageMenu</name>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>&amp;System</source>
        <translation>&amp;System</translation>
    </message>
    <message>
        <source>The windows speak the chosen language from the next start of the program.</source>
        <translation>Die gewählte Sprache gilt ab dem nächsten Programmstart.</translation>
    </message>
</context>
<context>
    <name>vg::MainWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Vigilo</source>
        <translation>&amp;Vigilo</translation>
    </message>
    <message>
        <source>&amp;Manual Mode</source>
        <translation>&amp;Handbetrieb</translation>
    </message>
    <message>
        <source>M&amp;onitor Mode</source>
        <translation>&amp;Monitorbetrieb</translation>
    </message>
    <message>
        <source>&amp;Compare with File...</source>
        <translation>Mit &amp;Datei vergleichen...</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Communication</source>
        <translation>&amp;Kommunikation</translation>
    </message>
    <message>
        <source>&amp;Verify after saving to the unit</source>
        <translation>Nach dem Speichern im Steuergerät &amp;prüfen</translation>
    </message>
    <message>
        <source>&amp;Trace Line Traffic...</source>
        <translation>&amp;Leitungsverkehr mitschneiden...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>VG-Config [simulated unit]</source>
        <translation>VG-Config [simuliertes Steuergerät]</translation>
    </message>
</context>
<context>
    <name>vg::ManualWindow</name>
    <message>
        <source>VG-Config / Manual Mode</source>
        <translation>VG-Config / Handbetrieb</translation>
    </message>
    <message>
        <source>Go &amp;Position</source>
        <translation>&amp;Position anfahren</translation>
    </message>
    <message>
        <source>Go &amp;Back</source>
        <translation>&amp;Zurückfahren</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
</context>
<context>
    <name>vg::MonitorWindow</name>
    <message>
        <source>VG-Config / Monitor Mode</source>
        <translation>VG-Config / Monitorbetrieb</translation>
    </message>
    <message>
        <source>State:</source>
        <translation>Zustand:</translation>
    </message>
    <message>
        <source>Out 1 (OK):</source>
        <translation>Ausg. 1 (OK):</translation>
    </message>
    <message>
        <source>Out 2 (KO):</source>
        <translation>Ausg. 2 (KO):</translation>
    </message>
    <message>
        <source>Zero-Position:</source>
        <translation>Nullposition:</translation>
    </message>
    <message>
        <source>Scanning:</source>
        <translation>Scannen:</translation>
    </message>
    <message>
        <source>Measured-Angle:</source>
        <translation>Messwinkel:</translation>
    </message>
    <message>
        <source>Current Tool:</source>
        <translation>Aktuelles Werkzeug:</translation>
    </message>
    <message>
        <source>Tool-Nr.</source>
        <translation>Wz.-Nr.</translation>
    </message>
    <message>
        <source>Target-Angle:</source>
        <translation>Sollwinkel:</translation>
    </message>
    <message>
        <source>Tolerance:</source>
        <translation>Toleranz:</translation>
    </message>
    <message>
        <source>Intensity:</source>
        <translation>Intensität:</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Actual ToolNr:</source>
        <translation>Ist-Wz.-Nr.:</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
</context>
<context>
    <name>vg::PortDeviceBox</name>
    <message>
        <source>in use: %1</source>
        <translation>belegt: %1</translation>
    </message>
    <message>
        <source>you may not open it</source>
        <translation>Sie dürfen es nicht öffnen</translation>
    </message>
    <message>
        <source>as it is: %1</source>
        <translation>unverändert: %1</translation>
    </message>
    <message>
        <source>not present: %1</source>
        <translation>nicht vorhanden: %1</translation>
    </message>
    <message>
        <source>%1 in %2 is not a link but a file of its own.
Replace it with a link to %3?</source>
        <translation>%1 in %2 ist keine Verknüpfung, sondern eine eigene Datei.
Durch eine Verknüpfung auf %3 ersetzen?</translation>
    </message>
    <message>
        <source>%1 could not be linked to %2:</source>
        <translation>%1 konnte nicht mit %2 verknüpft werden:</translation>
    </message>
</context>
<context>
    <name>vg::ProgressWindow</name>
    <message>
        <source>Saving Data to VG</source>
        <translation>Daten werden im VG gespeichert</translation>
    </message>
</context>
<context>
    <name>vg::QtFileDialogs</name>
    <message>
        <source>Fieldbus Driver</source>
        <translation>Feldbustreiber</translation>
    </message>
    <message>
        <source>Driver library (*.so *.so.*);;All files (*)</source>
        <translation>Treiberbibliothek (*.so *.so.*);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Trace Line Traffic</source>
        <translation>Leitungsverkehr mitschneiden</translation>
    </message>
    <message>
        <source>Trace (*.txt);;All files (*)</source>
        <translation>Mitschnitt (*.txt);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>vg::SettingsWindow</name>
    <message>
        <source>VG-Config / Settings</source>
        <translation>VG-Config / Einstellungen</translation>
    </message>
    <message>
        <source>T&amp;ool-Settings</source>
        <translation>&amp;Werkzeugeinstellungen</translation>
    </message>
    <message>
        <source>&amp;Global-Settings</source>
        <translation>&amp;Globale Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Default-Settings</source>
        <translation>&amp;Standardeinstellungen</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>S&amp;peichern</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Teach</source>
        <translation>&amp;Einlernen</translation>
    </message>
    <message>
        <source>St&amp;art</source>
        <translation>St&amp;arten</translation>
    </message>
    <message>
        <source>C&amp;hange</source>
        <translation>Ände&amp;rn</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Start &quot;Ta&amp;rget Angle&quot;</source>
        <translation>Start „Sollwin&amp;kel“</translation>
    </message>
    <message>
        <source>Angle from Table</source>
        <translation>Winkel aus Tabelle</translation>
    </message>
    <message>
        <source>Measured  Angle</source>
        <translation>Gemessener Winkel</translation>
    </message>
    <message>
        <source>Angle:</source>
        <translation>Winkel:</translation>
    </message>
    <message>
        <source>Global Parameters:</source>
        <translation>Globale Parameter:</translation>
    </message>
    <message>
        <source>Rotation direction:</source>
        <translation>Drehrichtung:</translation>
    </message>
    <message>
        <source>Scanner:</source>
        <translation>Scanner:</translation>
    </message>
    <message>
        <source>Tool-Storage:</source>
        <translation>Werkzeugspeicher:</translation>
    </message>
    <message>
        <source>N/C (Normally Closed)</source>
        <translation>N/C (Öffner)</translation>
    </message>
    <message>
        <source>N/O (Normally Open)</source>
        <translation>N/O (Schließer)</translation>
    </message>
    <message>
        <source>Out1 (OK) Polarity</source>
        <translation>Polarität Ausg. 1 (OK)</translation>
    </message>
    <message>
        <source>Out2 (KO) Polarity</source>
        <translation>Polarität Ausg. 2 (KO)</translation>
    </message>
    <message>
        <source>Signal Mode</source>
        <translation>Signalmodus</translation>
    </message>
    <message>
        <source>at Offset Position</source>
        <translation>in Versatzposition</translation>
    </message>
    <message>
        <source>at Home Position</source>
        <translation>in Grundstellung</translation>
    </message>
    <message>
        <source>Return Travel Monitoring</source>
        <translation>Rücklaufüberwachung</translation>
    </message>
    <message>
        <source>InActive</source>
        <translation>Inaktiv</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Monitoring</source>
        <translation>Überwachung</translation>
    </message>
    <message>
        <source>Free Space</source>
        <translation>Freiraum</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objekt</translation>
    </message>
    <message>
        <source>Out Pulse Time</source>
        <translation>Ausgangsimpulsdauer</translation>
    </message>
    <message>
        <source>Static</source>
        <translation>Statisch</translation>
    </message>
    <message>
        <source>Pulse-Time:</source>
        <translation>Impulsdauer:</translation>
    </message>
    <message>
        <source>Rotation Direction</source>
        <translation>Drehrichtung</translation>
    </message>
    <message>
        <source>Counter-Clockwise</source>
        <translation>Gegen den Uhrzeigersinn</translation>
    </message>
    <message>
        <source>Clockwise</source>
        <translation>Im Uhrzeigersinn</translation>
    </message>
    <message>
        <source>Power On Move</source>
        <translation>Bewegung beim Einschalten</translation>
    </message>
    <message>
        <source>Inactive</source>
        <translation>Inaktiv</translation>
    </message>
    <message>
        <source>FSW Version:</source>
        <translation>FSW-Version:</translation>
    </message>
    <message>
        <source>Default &amp;Intensity</source>
        <translation>Standard-&amp;Intensität</translation>
    </message>
    <message>
        <source> Ultra-Low </source>
        <translation> Sehr niedrig </translation>
    </message>
    <message>
        <source> Low</source>
        <translation> Niedrig</translation>
    </message>
    <message>
        <source> Medium</source>
        <translation> Mittel</translation>
    </message>
    <message>
        <source> High</source>
        <translation> Hoch</translation>
    </message>
    <message>
        <source>Maximum Teach-Angle:</source>
        <translation>Maximaler Einlernwinkel:</translation>
    </message>
    <message>
        <source>Default Tolerance:</source>
        <translation>Standardtoleranz:</translation>
    </message>
    <message>
        <source>CounterClw.</source>
        <translation>Gegen Uhrz.</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
</context>
<context>
    <name>vg::SourceChooser</name>
    <message>
        <source>&amp;Vigilo</source>
        <translation>&amp;Vigilo</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Save Data to ...</source>
        <translation>Daten speichern in ...</translation>
    </message>
    <message>
        <source>Load Data from ...</source>
        <translation>Daten laden aus ...</translation>
    </message>
</context>
<context>
    <name>vg::StatusBarWidget</name>
    <message>
        <source>Simulated unit</source>
        <translation>Simuliertes Steuergerät</translation>
    </message>
    <message>
        <source>on</source>
        <translation>ein</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>Outs: Out1 %1, Out2 %2</source>
        <translation>Ausgänge: Ausg. 1 %1, Ausg. 2 %2</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
</context>
<context>
    <name>vg::ToolEditor</name>
    <message>
        <source>Setting Tool</source>
        <translation>Werkzeug einstellen</translation>
    </message>
    <message>
        <source>Tool-Nr:</source>
        <translation>Werkzeug-Nr.:</translation>
    </message>
    <message>
        <source>&amp;Teach</source>
        <translation>&amp;Einlernen</translation>
    </message>
    <message>
        <source> &amp;Intensity</source>
        <translation> &amp;Intensität</translation>
    </message>
    <message>
        <source> Ultra-Low</source>
        <translation> Sehr niedrig</translation>
    </message>
    <message>
        <source> Low</source>
        <translation> Niedrig</translation>
    </message>
    <message>
        <source> Medium</source>
        <translation> Mittel</translation>
    </message>
    <message>
        <source> High</source>
        <translation> Hoch</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source> T&amp;ool-Nr:</source>
        <translation> &amp;Werkzeug-Nr.:</translation>
    </message>
    <message>
        <source>Tool-&amp;Name: </source>
        <translation>Werkzeug&amp;name: </translation>
    </message>
    <message>
        <source> &amp;Angle:</source>
        <translation> Win&amp;kel:</translation>
    </message>
    <message>
        <source>To&amp;lerance:</source>
        <translation>&amp;Toleranz:</translation>
    </message>
    <message>
        <source>Setting New Tool</source>
        <translation>Neues Werkzeug einstellen</translation>
    </message>
</context>
<context>
    <name>vg::ToolHeadings</name>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>ToolNr   </source>
        <translation>Wz.-Nr.  </translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>Winkel</translation>
    </message>
    <message>
        <source>Toler.</source>
        <translation>Toler.</translation>
    </message>
    <message>
        <source>Intensity</source>
        <translation>Intens.</translation>
    </message>
    <message>
        <source>Toolname</source>
        <translation>Werkzeugname</translation>
    </message>
</context>
</TS>
