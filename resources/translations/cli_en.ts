<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="it_IT">
<context>
    <name>CliCommands</name>
    <message>
        <source>non fatto: lavoro interrotto</source>
        <translation>not done: the work was stopped</translation>
    </message>
    <message>
        <source>%1 non è una cartella</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>la cartella %1 non esiste</source>
        <translation>the folder %1 does not exist</translation>
    </message>
    <message>
        <source>memoria occupata: un trasferimento o un aggiornamento dell&apos;indice è già in corso su %1; riprovare quando è terminato</source>
        <translation>memory busy: a transfer or an index run is already at work on %1; try again when it has ended</translation>
    </message>
    <message>
        <source>%1 non è su una memoria rimovibile: indicarne la cartella principale con --memory</source>
        <translation>%1 is not on a removable memory: name the memory&apos;s top folder with --memory</translation>
    </message>
    <message>
        <source>%1: copiata</source>
        <translation>%1: copied</translation>
    </message>
    <message>
        <source>%1: mantenuto il file con lo stesso nome già presente (--replace lo sostituisce)</source>
        <translation>%1: kept the file of the same name already there (--replace replaces it)</translation>
    </message>
    <message>
        <source>non copiata</source>
        <translation>not copied</translation>
    </message>
    <message>
        <source>%1 non è nella memoria %2</source>
        <translation>%1 is not in the memory %2</translation>
    </message>
    <message>
        <source>non è possibile copiare i file nella cartella principale e la cartella songs non si può creare: indicare una sottocartella</source>
        <translation>the songs cannot go into the memory&apos;s top folder and its folder songs cannot be made: choose a subfolder</translation>
    </message>
    <message>
        <source>le cartelle BRIDGE, SFX e PLAYLIST sono riservate a funzioni specifiche del lettore: indicare un&apos;altra cartella</source>
        <translation>the folders BRIDGE, SFX and PLAYLIST are reserved for the player&apos;s own functions: choose another folder</translation>
    </message>
    <message>
        <source>indice della memoria %1 aggiornato</source>
        <translation>index of the memory %1 updated</translation>
    </message>
    <message>
        <source>l&apos;indice della memoria %1 non si è potuto aggiornare</source>
        <translation>the index of the memory %1 could not be updated</translation>
    </message>
    <message>
        <source>indice di %1 ricostruito: %2 file di song</source>
        <translation>index of %1 rebuilt: %2 song files</translation>
    </message>
    <message>
        <source>indice di %1 aggiornato: %2 file di song</source>
        <translation>index of %1 updated: %2 song files</translation>
    </message>
    <message>
        <source>non si può creare un file temporaneo: %1</source>
        <translation>a temporary file cannot be made: %1</translation>
    </message>
    <message>
        <source>la lista non si è potuta scrivere sullo standard output</source>
        <translation>the list could not be written to standard output</translation>
    </message>
    <message>
        <source>%1 non ha un indice completo: la memoria non è preparata per Orvalo (index rebuild lo crea)</source>
        <translation>%1 has no complete index: the memory is not prepared for Orvalo (index rebuild makes one)</translation>
    </message>
    <message>
        <source>errore durante la creazione della lista: l&apos;indice di %1 non si può leggere</source>
        <translation>error while making the list: the index of %1 cannot be read</translation>
    </message>
    <message>
        <source>errore durante la creazione del file %1: l&apos;indice non si può leggere o il file non si può scrivere</source>
        <translation>error while making the file %1: the index cannot be read or the file cannot be written</translation>
    </message>
    <message>
        <source>Formato</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Titolo</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Interprete</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>Genere</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Autore</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>Durata</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>BPM</source>
        <translation>BPM</translation>
    </message>
    <message>
        <source>Tonalità</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Marker</source>
        <translation>Markers</translation>
    </message>
    <message>
        <source>Del produttore</source>
        <translation>Maker&apos;s song</translation>
    </message>
    <message>
        <source>sì</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>no</source>
        <translation>no</translation>
    </message>
    <message>
        <source>file non trovato</source>
        <translation>file not found</translation>
    </message>
    <message>
        <source>è una cartella, non un file di song</source>
        <translation>a folder, not a song file</translation>
    </message>
    <message>
        <source>il file non si può leggere (permesso negato)</source>
        <translation>the file cannot be read (permission denied)</translation>
    </message>
    <message>
        <source>non è un file di song in un formato conosciuto, o è danneggiato</source>
        <translation>not a song file in a known format, or damaged</translation>
    </message>
    <message>
        <source>il file non si è potuto scrivere; è rimasto com&apos;era</source>
        <translation>the file could not be written; it is as it was</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>%1: salvata</source>
        <translation>%1: saved</translation>
    </message>
    <message>
        <source>il catalogo delle song non si può aprire</source>
        <translation>the song catalogue cannot be opened</translation>
    </message>
    <message>
        <source>%1: nessun cambiamento</source>
        <translation>%1: no change</translation>
    </message>
    <message>
        <source>%1: già completa, nessun cambiamento</source>
        <translation>%1: already complete, no change</translation>
    </message>
    <message>
        <source>%1: cambierebbe</source>
        <translation>%1: would change</translation>
    </message>
    <message>
        <source>%1: completata dal catalogo</source>
        <translation>%1: completed from the catalogue</translation>
    </message>
    <message>
        <source>%1: non è nel catalogo, lasciata com&apos;è</source>
        <translation>%1: not in the catalogue, left as it is</translation>
    </message>
    <message>
        <source>%1: non è una song del produttore, lasciata com&apos;è (--all la completa)</source>
        <translation>%1: not one of the maker&apos;s songs, left as it is (--all completes it)</translation>
    </message>
    <message>
        <source>la cartella del backup non si può creare in %1</source>
        <translation>the backup folder cannot be made in %1</translation>
    </message>
    <message>
        <source>(index rebuild lo ricostruisce)</source>
        <translation>(index rebuild rebuilds it)</translation>
    </message>
    <message>
        <source>è nell&apos;indice, ma il file non c&apos;è più</source>
        <translation>is in the index, but the file is gone</translation>
    </message>
    <message>
        <source>è cambiata dopo l&apos;ultimo aggiornamento dell&apos;indice</source>
        <translation>changed after the last index update</translation>
    </message>
    <message>
        <source>è sulla memoria, ma non nell&apos;indice</source>
        <translation>is on the memory, but not in the index</translation>
    </message>
    <message>
        <source>il lettore non potrà aprirla: il suo nome contiene caratteri che non sa leggere</source>
        <translation>the player will not open it: its name holds characters it cannot read</translation>
    </message>
    <message>
        <source>%1: l&apos;indice non è completo: %2 (index rebuild lo crea)</source>
        <translation>%1: the index is not complete: %2 (index rebuild makes one)</translation>
    </message>
    <message>
        <source>%1: l&apos;indice è danneggiato: %2 (index rebuild lo ricostruisce)</source>
        <translation>%1: the index is damaged: %2 (index rebuild rebuilds it)</translation>
    </message>
    <message>
        <source>%1: l&apos;indice non è al passo con le song (index update lo aggiorna)</source>
        <translation>%1: the index is not in step with the songs (index update brings it up to date)</translation>
    </message>
    <message>
        <source>indice di %1 in ordine: %2 file di song</source>
        <translation>index of %1 in order: %2 song files</translation>
    </message>
    <message>
        <source>il lettore non sa leggere il nome della cartella &quot;%1&quot; (caratteri speciali o punto iniziale): indicare un&apos;altra cartella</source>
        <translation>the player cannot read the name of the folder &quot;%1&quot; (special characters or a leading dot): name another folder</translation>
    </message>
    <message>
        <source>%1: copiata come %2</source>
        <translation>%1: copied as %2</translation>
    </message>
    <message>
        <source>la memoria %1 è piena: %2 song non sono state copiate</source>
        <translation>the memory %1 is full: %2 songs were not copied</translation>
    </message>
    <message>
        <source>%1 non è una memoria rimovibile: non è stata espulsa</source>
        <translation>%1 is not a removable memory: it was not ejected</translation>
    </message>
    <message>
        <source>attenzione: un salvataggio interrotto ha lasciato la copia %1, che contiene la sua song com&apos;era prima; se la song è a posto, eliminala</source>
        <translation>warning: an interrupted save left the copy %1, which holds its song as it was before; once the song is right, delete it</translation>
    </message>
</context>
<context>
    <name>CliHelp</name>
    <message>
        <source>Prepara song e memorie di Orvalo3 dal terminale: i lavori del programma, senza la sua finestra</source>
        <translation>Prepares songs and Orvalo3 memories from a terminal: the program&apos;s work, without its window</translation>
    </message>
    <message>
        <source>orvalo3soft-cli fa dal terminale o da uno script quello che fa la finestra di Orvalo3 Soft: legge e modifica i dati delle song, le completa dal catalogo del produttore, ne fa il backup, le copia sulla memoria del lettore (Compact Flash o penna USB), ricostruisce, aggiorna o controlla l&apos;indice di una memoria e ne scrive la lista delle song. Ogni lavoro è quello della finestra, con le stesse regole; non viene mai posta alcuna domanda: le risposte sono le opzioni.</source>
        <translation>orvalo3soft-cli does from a terminal or a script what the window of Orvalo3 Soft does: it reads and edits songs&apos; details, completes songs from the maker&apos;s catalogue, backs them up, copies them onto the player&apos;s memory (Compact Flash card or USB key), rebuilds, updates or checks a memory&apos;s index and writes its songs list. Each piece of work is the window&apos;s own, with the same rules; nothing is ever asked: the options are the answers.</translation>
    </message>
    <message>
        <source>Mostra i dati delle song</source>
        <translation>Show songs&apos; details</translation>
    </message>
    <message>
        <source>Legge ogni file di song e ne mostra i dati come testo allineato, oppure, con --json, un oggetto JSON per riga con le chiavi file, format, title, artist, genre, author, length (secondi), bpm, key, markers (una lista di {&quot;bar&quot;, &quot;text&quot;}) e maker (true per le song del produttore). Un file che non si può leggere dà {&quot;file&quot;, &quot;error&quot;}.</source>
        <translation>Reads each song file and shows its details as aligned text or, with --json, as one JSON object per line with the keys file, format, title, artist, genre, author, length (seconds), bpm, key, markers (a list of {&quot;bar&quot;, &quot;text&quot;}) and maker (true for the maker&apos;s songs). A file that cannot be read gives {&quot;file&quot;, &quot;error&quot;}.</translation>
    </message>
    <message>
        <source>un oggetto JSON per riga</source>
        <translation>one JSON object per line</translation>
    </message>
    <message>
        <source>Modifica a mano i dati delle song</source>
        <translation>Edit songs&apos; details by hand</translation>
    </message>
    <message>
        <source>Scrive i dati indicati in ogni file di song con le regole dell&apos;editor delle song della finestra. Un&apos;opzione data come &quot;&quot; cancella il suo dato; un dato senza la sua opzione resta com&apos;è.</source>
        <translation>Writes the given details into each song file with the rules of the window&apos;s song editor. An option given as &quot;&quot; clears its detail; a detail without its option stays as it is.</translation>
    </message>
    <message>
        <source>titolo</source>
        <translation>title</translation>
    </message>
    <message>
        <source>interprete</source>
        <translation>artist</translation>
    </message>
    <message>
        <source>genere musicale</source>
        <translation>genre</translation>
    </message>
    <message>
        <source>autore</source>
        <translation>author</translation>
    </message>
    <message>
        <source>durata: fino a due cifre di minuti e due di secondi (3:75 vale 4:15)</source>
        <translation>length: up to two digits of minutes and two of seconds (3:75 is 4:15)</translation>
    </message>
    <message>
        <source>tempo in battiti al minuto, fino a tre cifre</source>
        <translation>tempo in beats per minute, up to three digits</translation>
    </message>
    <message>
        <source>tonalità, una di: %1 (il segno - indica le tonalità minori)</source>
        <translation>key, one of: %1 (the sign - marks the minor keys)</translation>
    </message>
    <message>
        <source>Completa le song dal catalogo</source>
        <translation>Complete songs from the catalogue</translation>
    </message>
    <message>
        <source>Cerca ogni song nel catalogo del produttore per nome del file, nome lungo MFx o titolo e ne scrive i dati nel file, come la sincronizzazione della finestra. Le song che non sono del produttore restano invariate se non si dà --all; una song che non è nel catalogo resta com&apos;è.</source>
        <translation>Looks each song up in the maker&apos;s catalogue by file name, MFx long name or title and writes the catalogue&apos;s details into the file, as the window&apos;s synchronisation does. Songs that are not the maker&apos;s are left unchanged unless --all is given; a song that is not in the catalogue stays as it is.</translation>
    </message>
    <message>
        <source>mostra cosa cambierebbe in ogni song (valore vecchio e nuovo di ogni dato) e non scrive nulla</source>
        <translation>show what would change in each song (old and new value of each detail) and write nothing</translation>
    </message>
    <message>
        <source>completa anche le song che non sono del produttore</source>
        <translation>complete the songs that are not the maker&apos;s as well</translation>
    </message>
    <message>
        <source>Fa il backup delle song in una nuova cartella</source>
        <translation>Back songs up into a new folder</translation>
    </message>
    <message>
        <source>Copia le song in una nuova cartella backup_tavrel_&lt;data&gt;_&lt;ora&gt; creata in FOLDER, come il backup della finestra, e ne scrive il percorso.</source>
        <translation>Copies the songs into a new folder backup_tavrel_&lt;date&gt;_&lt;time&gt; made in FOLDER, as the window&apos;s backup does, and writes that folder&apos;s path.</translation>
    </message>
    <message>
        <source>la cartella in cui creare la cartella del backup</source>
        <translation>the folder in which the backup folder is made</translation>
    </message>
    <message>
        <source>Copia le song su una memoria del lettore e ne aggiorna l&apos;indice</source>
        <translation>Copy songs onto a player memory and update its index</translation>
    </message>
    <message>
        <source>la cartella della memoria in cui copiare le song</source>
        <translation>the folder of the memory the songs are copied into</translation>
    </message>
    <message>
        <source>sostituisce i file con lo stesso nome già presenti</source>
        <translation>replace the files of the same name already there</translation>
    </message>
    <message>
        <source>mantiene i file con lo stesso nome già presenti (predefinito)</source>
        <translation>keep the files of the same name already there (the default)</translation>
    </message>
    <message>
        <source>la cartella principale della memoria, dove si trova il suo indice</source>
        <translation>the memory&apos;s top folder, where its index is</translation>
    </message>
    <message>
        <source>Ricostruisce, aggiorna o controlla l&apos;indice di una memoria</source>
        <translation>Rebuild, update or check a memory&apos;s index</translation>
    </message>
    <message>
        <source>Lavora sui file dell&apos;indice nella cartella principale MEMORY di una memoria del lettore. rebuild riscrive l&apos;indice da tutti i file di song; update rilegge solo le song nuove o modificate e toglie quelle sparite; check non scrive nulla e dice se i sette file dell&apos;indice concordano tra loro e con le song sulla memoria (song mancanti, nuove o modificate, indice danneggiato, song che il lettore non può aprire).</source>
        <translation>Works on the index files in the top folder MEMORY of a player memory. rebuild writes the index anew from every song file; update reads again only new or changed songs and drops those that are gone; check writes nothing and tells whether the seven index files agree with each other and with the songs on the memory (missing, new or changed songs, a damaged index, songs the player cannot open).</translation>
    </message>
    <message>
        <source>Scrive la lista delle song di una memoria</source>
        <translation>Write a memory&apos;s songs list</translation>
    </message>
    <message>
        <source>Scrive la lista delle song dell&apos;indice di MEMORY, una riga per song con titolo, interprete e percorso separati da &quot;;&quot;, come la lista delle song della finestra, sullo standard output o in FILE.</source>
        <translation>Writes the list of the songs in the index of MEMORY, one line per song with title, artist and path separated by &quot;;&quot;, as the window&apos;s songs list does, to standard output or into FILE.</translation>
    </message>
    <message>
        <source>ordina per titolo (predefinito) o per interprete</source>
        <translation>order by title (the default) or by artist</translation>
    </message>
    <message>
        <source>scrive in FILE invece che sullo standard output</source>
        <translation>write into FILE instead of standard output</translation>
    </message>
    <message>
        <source>mostra questo aiuto; dopo un comando, l&apos;aiuto del comando</source>
        <translation>show this help; after a command, the command&apos;s help</translation>
    </message>
    <message>
        <source>mostra la versione del programma</source>
        <translation>show the program&apos;s version</translation>
    </message>
    <message>
        <source>Stato di uscita</source>
        <translation>Exit status</translation>
    </message>
    <message>
        <source>0 quando tutto il lavoro richiesto è stato fatto (una song che non è nel catalogo, o lasciata invariata dalle opzioni, conta come fatta); 1 quando una parte non è stata fatta, con ogni song interessata nominata sullo standard error insieme al motivo, e quando index check trova un problema; 2 per un uso sbagliato del comando.</source>
        <translation>0 when all the requested work was done (a song that is not in the catalogue, or left unchanged by the options, counts as done); 1 when any of it was not, each song concerned named on standard error with its reason, and when index check finds a problem; 2 for wrong usage.</translation>
    </message>
    <message>
        <source>Memorie</source>
        <translation>Memories</translation>
    </message>
    <message>
        <source>Lingua e avanzamento</source>
        <translation>Language and progress</translation>
    </message>
    <message>
        <source>Le preferenze sono in ~/.config/tavrel/orvalo3soft.conf (su macOS ~/Library/Preferences/com.tavrel.orvalo3soft.plist); con logenabled=true il programma aggiunge il suo log al file log.txt della cartella corrente.</source>
        <translation>The preferences are in ~/.config/tavrel/orvalo3soft.conf (on macOS ~/Library/Preferences/com.tavrel.orvalo3soft.plist); with logenabled=true the program appends its log to the file log.txt of the current folder.</translation>
    </message>
    <message>
        <source>Uso: %1 %2</source>
        <translation>Usage: %1 %2</translation>
    </message>
    <message>
        <source>Per saperne di più: %1 --help</source>
        <translation>More information: %1 --help</translation>
    </message>
    <message>
        <source>COMANDO [OPZIONE]... ARGOMENTO...</source>
        <translation>COMMAND [OPTION]... ARGUMENT...</translation>
    </message>
    <message>
        <source>Comandi:</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>Opzioni:</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>I messaggi sono nella lingua scelta nelle preferenze del programma (menu Preferenze &gt; Lingua della finestra) o, se non ne è stata scelta nessuna, in quella del sistema. Mentre lavora, il programma mostra una riga di avanzamento sullo standard error quando questo è un terminale. Ctrl+C ferma il lavoro dopo la song in corso; un lavoro sull&apos;indice va fino in fondo.</source>
        <translation>Messages are in the language chosen in the program&apos;s preferences (the window&apos;s menu Preferences &gt; Language) or, when none was chosen, in the system&apos;s language. While it works, the program shows a progress line on standard error when that is a terminal. Ctrl+C stops the work after the song at hand; an index run goes on to its end.</translation>
    </message>
    <message>
        <source>File e preferenze</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>Copia le song nella cartella DESTINATION di una memoria del lettore, poi ne aggiorna l&apos;indice, come il trasferimento della finestra. Se DESTINATION è la cartella principale della memoria, le song vanno nella sua cartella &quot;songs&quot;; le cartelle BRIDGE, SFX e PLAYLIST sono rifiutate, e così una cartella il cui nome il lettore non sa leggere. La cartella principale della memoria è ROOT se si dà --memory; altrimenti quella della memoria rimovibile che contiene DESTINATION; altrimenti il punto di montaggio di DESTINATION, purché non sia la radice &quot;/&quot; del sistema. Ogni song prende sulla memoria un nome che la memoria (FAT32) e l&apos;indice del lettore sanno tenere: i caratteri rifiutati diventano &quot;_&quot;, le lettere di altri alfabeti lettere latine; due song che avrebbero lo stesso nome, maiuscole e minuscole a parte, sono numerate (&quot;nome (2).mid&quot;); il file sul computer resta com&apos;è. Resta sempre libero lo spazio per l&apos;indice: quando la memoria è piena il trasferimento si ferma, senza lasciare song copiate a metà, e l&apos;indice viene aggiornato con le song copiate. Non viene chiesto nulla: un file di song con lo stesso nome già presente viene mantenuto se non si dà --replace.</source>
        <translation>Copies the songs into the folder DESTINATION of a player memory, then brings the memory&apos;s index up to date, as the window&apos;s transfer does. When DESTINATION is the memory&apos;s top folder, the songs go into its folder &quot;songs&quot;; the folders BRIDGE, SFX and PLAYLIST are refused, and so is a folder whose name the player cannot read. The memory&apos;s top folder is ROOT when --memory is given; otherwise that of the removable memory holding DESTINATION; otherwise the mount point of DESTINATION, unless that is the system&apos;s root &quot;/&quot;. Each song gets a name on the memory that the memory (FAT32) and the player&apos;s index can hold: refused characters become &quot;_&quot;, letters of other alphabets Latin letters; two songs that would have the same name, letter case aside, are numbered (&quot;name (2).mid&quot;); the file on the computer stays as it is. Room for the index always stays free: when the memory is full the transfer stops, without leaving songs half copied, and the index is brought up to date with the songs copied. Nothing is asked: a song file of the same name already there is kept unless --replace is given.</translation>
    </message>
    <message>
        <source>alla fine espelle la memoria rimovibile, che si può poi togliere</source>
        <translation>at the end ejects the removable memory, which can then be taken out</translation>
    </message>
    <message>
        <source>dopo rebuild o update espelle la memoria rimovibile, che si può poi togliere</source>
        <translation>after rebuild or update ejects the removable memory, which can then be taken out</translation>
    </message>
    <message>
        <source>Durante un trasferimento o un lavoro sull&apos;indice la memoria è bloccata da un file nascosto .orvalo3soft.lock nella sua cartella principale, dalla finestra come dal terminale: un secondo lavoro sulla stessa memoria termina con &quot;memoria occupata&quot; (stato 1). Il blocco lasciato da un processo terminato non ferma i lavori successivi. Le memorie rimovibili sono le cartelle di /media/&lt;utente&gt; o /run/media/&lt;utente&gt; (/Volumes su macOS), o della cartella indicata dalla variabile d&apos;ambiente ORVALO3_VOLUMES_DIR, e i dischi rimovibili montati altrove. --eject le smonta e le spegne con udisksctl (diskutil su macOS); senza questi programmi vanno espulse dal desktop.</source>
        <translation>During a transfer or an index run the memory is locked by a hidden file .orvalo3soft.lock in its top folder, by the window as by the command line: a second run on the same memory ends with &quot;memory busy&quot; (status 1). A lock left by a process that has ended does not stop later runs. Removable memories are the folders of /media/&lt;user&gt; or /run/media/&lt;user&gt; (/Volumes on macOS), or of the folder named by the environment variable ORVALO3_VOLUMES_DIR, and removable disks mounted elsewhere. --eject unmounts them and powers them off with udisksctl (diskutil on macOS); without these programs they have to be ejected from the desktop.</translation>
    </message>
</context>
<context>
    <name>CliHost</name>
    <message>
        <source>Lettura</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>Sincronizzazione</source>
        <translation>Synchronising</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>Aggiornamento</source>
        <translation>Updating</translation>
    </message>
    <message>
        <source>Trasferimento</source>
        <translation>Transferring</translation>
    </message>
    <message>
        <source>Aggiornamento database</source>
        <translation>Updating database</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>manca il comando</source>
        <translation>the command is missing</translation>
    </message>
    <message>
        <source>comando sconosciuto: %1</source>
        <translation>unknown command: %1</translation>
    </message>
    <message>
        <source>COMANDO [OPZIONE]... ARGOMENTO...</source>
        <translation>COMMAND [OPTION]... ARGUMENT...</translation>
    </message>
    <message>
        <source>opzione sconosciuta: %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>opzione data due volte: %1</source>
        <translation>option given twice: %1</translation>
    </message>
    <message>
        <source>l&apos;opzione %1 non vuole un valore</source>
        <translation>the option %1 takes no value</translation>
    </message>
    <message>
        <source>l&apos;opzione %1 vuole un valore</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>index vuole rebuild, update o check</source>
        <translation>index needs rebuild, update or check</translation>
    </message>
    <message>
        <source>index %1 vuole una sola memoria</source>
        <translation>index %1 needs one memory</translation>
    </message>
    <message>
        <source>list vuole una sola memoria</source>
        <translation>list needs one memory</translation>
    </message>
    <message>
        <source>--by vuole title o artist, non &quot;%1&quot;</source>
        <translation>--by needs title or artist, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>-o vuole un nome di file</source>
        <translation>-o needs a file name</translation>
    </message>
    <message>
        <source>nessun file di song indicato</source>
        <translation>no song file given</translation>
    </message>
    <message>
        <source>manca l&apos;opzione %1</source>
        <translation>the option %1 is missing</translation>
    </message>
    <message>
        <source>--replace e --keep si escludono a vicenda</source>
        <translation>--replace and --keep exclude each other</translation>
    </message>
    <message>
        <source>--memory vuole una cartella</source>
        <translation>--memory needs a folder</translation>
    </message>
    <message>
        <source>nessun dato da scrivere: indicare almeno una tra --title, --artist, --genre, --author, --length, --bpm e --key</source>
        <translation>nothing to write: give at least one of --title, --artist, --genre, --author, --length, --bpm and --key</translation>
    </message>
    <message>
        <source>durata non valida: &quot;%1&quot; (mm:ss, fino a due cifre per parte)</source>
        <translation>invalid length: &quot;%1&quot; (mm:ss, up to two digits each)</translation>
    </message>
    <message>
        <source>tempo non valido: &quot;%1&quot; (fino a tre cifre)</source>
        <translation>invalid tempo: &quot;%1&quot; (up to three digits)</translation>
    </message>
    <message>
        <source>tonalità sconosciuta: &quot;%1&quot; (una di: %2)</source>
        <translation>unknown key: &quot;%1&quot; (one of: %2)</translation>
    </message>
    <message>
        <source>--eject vale solo con rebuild e update</source>
        <translation>--eject goes with rebuild and update only</translation>
    </message>
</context>
</TS>
